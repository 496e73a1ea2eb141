#include "harvest/pages/captcha_page.h"

#include "harvest/markup/markup.h"

namespace dorvanel::pages {

std::string ReplaceAmpOnce(std::string_view text) {
    constexpr std::string_view kAmp = "&amp;";
    std::string out;
    out.reserve(text.size());
    size_t from = 0;
    for (size_t at = text.find(kAmp); at != std::string_view::npos; at = text.find(kAmp, from)) {
        out.append(text.substr(from, at - from));
        out += '&';
        from = at + kAmp.size();
    }
    out.append(text.substr(from));
    return out;
}

CaptchaPageValues CutCaptchaPage(std::string page) {
    using markup::CutBetween;
    CaptchaPageValues values;
    values.random = CutBetween(page, "<input type=\"hidden\" name=\"random\" value=\"", "\"");
    values.seed = CutBetween(page, "<input type=\"hidden\" name=\"seed\" value=\"", "\"");
    values.imageSrc = ReplaceAmpOnce(CutBetween(page, "src=\"", "\""));
    return values;
}

}  // namespace dorvanel::pages
