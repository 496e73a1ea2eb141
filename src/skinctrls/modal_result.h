#pragma once
// What a closed dialog answers: the button that closed it, or mrCancel when it was closed otherwise.
namespace dorvanel::skinctrls {

enum TModalResult : int {
    mrNone = 0,
    mrOk = 1,
    mrCancel = 2,
    mrAbort = 3,
    mrRetry = 4,
    mrIgnore = 5,
    mrYes = 6,
    mrNo = 7,
    mrAll = 8,
    mrNoToAll = 9,
    mrYesToAll = 10
};

}  // namespace dorvanel::skinctrls
