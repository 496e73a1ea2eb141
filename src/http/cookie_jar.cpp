#include "http/cookie_jar.h"

#include <algorithm>

#include "http/http_date.h"
#include "http/net_text.h"

namespace dorvanel::http {

namespace {

// RAII around TNetCookies' own lock.
class CookieLock {
public:
    CookieLock(TNetCookies& cookies, TNetCookieAccess access) : cookies_(cookies), access_(access) {
        cookies_.LockCookieList(access_);
    }
    ~CookieLock() { cookies_.UnlockCookieList(access_); }
    CookieLock(const CookieLock&) = delete;
    CookieLock& operator=(const CookieLock&) = delete;

private:
    TNetCookies& cookies_;
    TNetCookieAccess access_;
};

// The domain without one leading "." ("shop.test" for ".shop.test").
std::string_view bareDomain(std::string_view domain) {
    if (!domain.empty() && domain.front() == '.') domain.remove_prefix(1);
    return domain;
}

// Cookies go only to their domain and its subdomains (RFC 6265 5.1.3), never to a host that merely
// contains the domain's text.
bool domainMatches(std::string_view domain, std::string_view host) {
    const std::string_view bare = bareDomain(domain);
    if (bare.empty()) return false;
    if (SameText(host, bare)) return true;
    return host.size() > bare.size() && host[host.size() - bare.size() - 1] == '.' &&
           SameText(host.substr(host.size() - bare.size()), bare);
}

// A domain attribute needs a dot inside it: ".test" or "com" would reach every site under a top-level name.
bool hasInnerDot(std::string_view domain) {
    const std::string_view bare = bareDomain(domain);
    const size_t dot = bare.find('.', 1);
    return dot != std::string_view::npos && dot + 1 < bare.size();
}

// Case-insensitive ordering of two paths.
bool pathLess(const std::string& a, const std::string& b) { return UpperCase(a) < UpperCase(b); }

}  // namespace

int TNetCookieList::IndexOfName(const std::string& name) const {
    for (size_t i = 0; i < Items.size(); ++i) {
        if (SameText(Items[i].first, name)) return static_cast<int>(i);
    }
    return -1;
}

int TNetCookies::Count() const {
    int n = 0;
    for (const auto& entry : domains_) n += static_cast<int>(entry.Cookies.Items.size());
    return n;
}

void TNetCookies::LockCookieList(TNetCookieAccess access) {
    std::unique_lock guard(lockState_);
    const auto self = std::this_thread::get_id();
    if (writeDepth_ > 0 && writer_ == self) {
        ++writeDepth_;
        return;
    }
    if (access == TNetCookieAccess::Read) {
        lockChanged_.wait(guard, [this] { return writeDepth_ == 0; });
        ++readers_;
    } else {
        lockChanged_.wait(guard, [this] { return writeDepth_ == 0 && readers_ == 0; });
        writer_ = self;
        writeDepth_ = 1;
    }
}

void TNetCookies::UnlockCookieList(TNetCookieAccess access) {
    std::lock_guard guard(lockState_);
    if (writeDepth_ > 0 && writer_ == std::this_thread::get_id()) {
        if (--writeDepth_ == 0) {
            writer_ = {};
            lockChanged_.notify_all();
        }
        return;
    }
    if (access == TNetCookieAccess::Read && readers_ > 0 && --readers_ == 0) lockChanged_.notify_all();
}

void TNetCookies::StoreCookie(std::unique_ptr<TNetNetscapeCookie> cookie) {
    CookieLock lock(*this, TNetCookieAccess::Write);
    auto entry = std::find_if(domains_.begin(), domains_.end(),
                              [&](const DomainEntry& e) { return SameText(e.Domain, cookie->DomainText); });
    if (entry == domains_.end()) {
        domains_.push_back({cookie->DomainText, {}});
        entry = domains_.end() - 1;
    }
    auto& items = entry->Cookies.Items;
    const int index = entry->Cookies.IndexOfName(cookie->CookieName);
    if (index < 0) {
        items.emplace_back(cookie->CookieName, std::move(cookie));
    } else {
        // The newer cookie takes the old one's place whole: its value, path, expiry and flags. Re-reading it
        // through its "Set-cookie" form would drop an expiry (so a deletion by a past date never happened)
        // and would turn an emptied value into a cookie named after its first attribute.
        items[static_cast<size_t>(index)] = {cookie->CookieName, std::move(cookie)};
    }
}

void TNetCookies::PurgeExpired() {
    CookieLock lock(*this, TNetCookieAccess::Write);
    const TDateTime now = Now();
    for (auto& entry : domains_) {
        auto& items = entry.Cookies.Items;
        for (size_t i = items.size(); i-- > 0;) {
            const auto& cookie = *items[i].second;
            if (!cookie.ExpiresText.empty() && now > ParseHttpDate(cookie.ExpiresText)) {
                items.erase(items.begin() + static_cast<std::ptrdiff_t>(i));
            }
        }
    }
}

TNetCookieManager::TNetCookieManager(TOnManagerEvent onCreate) : OnCreate(std::move(onCreate)) {
    if (OnCreate) OnCreate(*this, cookies_);
}

TNetCookieManager::~TNetCookieManager() {
    try {
        cookies_.PurgeExpired();
        if (OnDestroy) OnDestroy(*this, cookies_);
    } catch (...) {
        // Nothing may leave a destructor; the cookies go with the jar regardless.
    }
}

void TNetCookieManager::AcceptSetCookie(const std::string& text, const TNetURI& uri) {
    accept(std::make_unique<TNetCookieRFC2109>(), text, uri);
}

void TNetCookieManager::AcceptSetCookie2(const std::string& text, const TNetURI& uri) {
    accept(std::make_unique<TNetCookieRFC2965>(), text, uri);
}

void TNetCookieManager::accept(std::unique_ptr<TNetNetscapeCookie> cookie, const std::string& text,
                               const TNetURI& uri) {
    cookie->ParseCookieText(text);
    if (cookie->DomainText.empty()) {
        cookie->DomainText = uri.Host;
    } else if (!hasInnerDot(cookie->DomainText)) {
        return;
    }
    // A cookie that names no path belongs to the directory of the request that set it.
    if (cookie->PathText.empty()) cookie->PathText = uri.DirPath;
    if (!cookie->MatchesOrigin(uri.Host)) return;
    bool accepted = true;
    if (OnNewCookie) OnNewCookie(*this, *cookie, accepted);
    if (!accepted) return;
    cookies_.StoreCookie(std::move(cookie));
}

std::string TNetCookieManager::CookieHeaderFor(const TNetURI& uri, bool secure) {
    cookies_.PurgeExpired();
    std::vector<const TNetNetscapeCookie*> taken;
    {
        CookieLock lock(cookies_, TNetCookieAccess::Read);
        for (const auto& entry : cookies_.Domains()) {
            if (!domainMatches(entry.Domain, uri.Host)) continue;
            const auto& items = entry.Cookies.Items;
            for (auto it = items.rbegin(); it != items.rend(); ++it) {
                const TNetNetscapeCookie& cookie = *it->second;
                if (cookie.PathText.empty() || uri.DirPath.compare(0, cookie.PathText.size(), cookie.PathText) != 0) {
                    continue;
                }
                if (cookie.IsSecure && !secure) continue;
                if (cookie.CookieValue.empty()) continue;
                taken.push_back(&cookie);
            }
        }
        // Longer (greater) paths first; equal paths keep the order they were taken in.
        std::stable_sort(taken.begin(), taken.end(), [](const TNetNetscapeCookie* a, const TNetNetscapeCookie* b) {
            return pathLess(b->PathText, a->PathText);
        });
        std::string header;
        for (const auto* cookie : taken) {
            if (!header.empty()) header += "; ";
            header += cookie->ClientForm();
        }
        return header;
    }
}

}  // namespace dorvanel::http
