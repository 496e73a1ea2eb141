#pragma once
// What the harvests need of the window they run in, and nothing more: the table's rows, the status texts,
// the gauge, the message component and the security image question.
#include "skinctrls/list_items.h"
#include "skinctrls/modal_result.h"

#include <QString>

#include <optional>
#include <string>

namespace dorvanel::harvest {

// The characters the user typed for a security image, with the page's two hidden values.
struct TSecurityAnswer {
    std::string Typed;
    std::string Random;
    std::string Seed;
};

class THarvestWindow {
public:
    virtual ~THarvestWindow() = default;

    virtual skinctrls::TListItems& Rows() = 0;
    // Rows were appended: the row count is shown again.
    virtual void RowsAdded() = 0;
    // The fetcher's progress and outcome texts.
    virtual void ShowStatus(const QString& text) = 0;
    virtual void SetGauge(int value, int maxValue) = 0;
    virtual void SetGaugeValue(int value) = 0;
    virtual int GaugeMax() const = 0;
    // Shows a message with OK (and Cancel); returns skinctrls::mrOk or mrCancel.
    virtual int ShowMessage(const QString& text, bool withCancel) = 0;
    // Shows the security image page and returns what the user answered, by OK or by Cancel alike; nothing
    // when the window is closing and no dialog may open any more.
    virtual std::optional<TSecurityAnswer> AskSecurityImage(const std::string& page) = 0;
};

}  // namespace dorvanel::harvest
