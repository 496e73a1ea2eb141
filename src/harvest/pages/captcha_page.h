#pragma once
// The values the security-image dialog takes from the service's security-image page. Plain C++.
#include <string>
#include <string_view>

namespace dorvanel::pages {

struct CaptchaPageValues {
    std::string random;    // hidden value "random"
    std::string seed;      // hidden value "seed"
    std::string imageSrc;  // image address, "&amp;" turned into "&"
};

// Cuts, in this order on one buffer that starts as the whole page, the hidden value random, the hidden value
// seed and the first src="..." after them (markers without regard to the letter case of a to z). A missing
// marker gives an empty value and the next cut goes on from where the buffer was left, so a seed field that
// comes before the random field is not found.
CaptchaPageValues CutCaptchaPage(std::string page);

// Every "&amp;" replaced by "&" in one left-to-right pass: "&amp;amp;" becomes "&amp;".
std::string ReplaceAmpOnce(std::string_view text);

}  // namespace dorvanel::pages
