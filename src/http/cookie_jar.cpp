#include "http/cookie_jar.h"

#include <libpsl.h>

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

// Where a filed cookie may go: a cookie filed under ".domain" (it named a Domain) to that domain and its
// subdomains; one filed under a bare host name (it named none) to exactly that host (RFC 6265 5.4 step 1).
bool sendsTo(std::string_view filedUnder, std::string_view host) {
    if (!filedUnder.empty() && filedUnder.front() == '.') return domainMatches(filedUnder, host);
    return SameText(filedUnder, host);
}

// RFC 6265 5.1.4: the cookie's path is a prefix of the request's path ending at a segment boundary, so a
// cookie for "/admin" goes to "/admin" and "/admin/x" but never to "/administrator/".
bool pathMatches(std::string_view cookiePath, std::string_view requestPath) {
    if (cookiePath.empty() || requestPath.compare(0, cookiePath.size(), cookiePath) != 0) return false;
    return requestPath.size() == cookiePath.size() || cookiePath.back() == '/' || requestPath[cookiePath.size()] == '/';
}

std::string requestPath(const TNetURI& uri) {
    const std::string path = uri.DirPath + uri.DocName;
    return path.empty() ? std::string("/") : path;
}

bool hasControlBytes(std::string_view text) {
    return std::any_of(text.begin(), text.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return (byte < 0x20 && byte != '\t') || byte == 0x7F;
    });
}

std::string lowerCase(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

// A name under which anyone may register a site ("com", "co.uk"), judged by the public suffix list built into
// libpsl; a name outside the list's top-level names counts as one too (its implicit "*" rule).
bool isPublicSuffix(const std::string& domain) {
    static const psl_ctx_t* const list = psl_builtin();
    if (list) return psl_is_public_suffix(list, domain.c_str()) != 0;
    // Without a list a domain needs at least a dot inside it.
    const size_t dot = domain.find('.', 1);
    return dot == std::string::npos || dot + 1 >= domain.size();
}

// RFC 6265 5.2.3 and 5.3 steps 5 and 6: a Domain attribute, its leading dot ignored, makes a domain cookie
// when the host lies in that domain and the domain is no public suffix; a cookie without one belongs to
// the host alone. The cookie's DomainText is set to what it is filed under; false refuses the cookie.
bool acceptableDomain(TNetNetscapeCookie& cookie, const std::string& host) {
    const std::string domain = lowerCase(bareDomain(cookie.DomainText));
    if (domain.empty()) {
        cookie.DomainText = host;
        return true;
    }
    if (SameText(domain, host)) {
        cookie.DomainText = IsDottedAddress(host) || isPublicSuffix(domain) ? host : "." + domain;
        return true;
    }
    if (IsDottedAddress(host) || isPublicSuffix(domain)) return false;
    if (!domainMatches(domain, host)) return false;
    cookie.DomainText = "." + domain;
    return true;
}

// Case-insensitive ordering of two paths.
bool pathLess(const std::string& a, const std::string& b) { return UpperCase(a) < UpperCase(b); }

}  // namespace

int TNetCookieList::IndexOfName(const std::string& name) const {
    const auto found = byName_.find(UpperCase(name));
    return found == byName_.end() ? -1 : static_cast<int>(found->second);
}

void TNetCookieList::add(std::unique_ptr<TNetNetscapeCookie> cookie, uint64_t order) {
    byName_[UpperCase(cookie->CookieName)] = Items.size();
    orders_.push_back(order);
    std::string name = cookie->CookieName;
    Items.emplace_back(std::move(name), std::move(cookie));
}

void TNetCookieList::removeAt(size_t index) {
    Items.erase(Items.begin() + static_cast<std::ptrdiff_t>(index));
    orders_.erase(orders_.begin() + static_cast<std::ptrdiff_t>(index));
    reindex();
}

void TNetCookieList::reindex() {
    byName_.clear();
    for (size_t i = 0; i < Items.size(); ++i) byName_[UpperCase(Items[i].first)] = i;
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
    const std::string domainKey = UpperCase(cookie->DomainText);
    auto found = domainIndex_.find(domainKey);
    if (found == domainIndex_.end()) {
        domains_.push_back({cookie->DomainText, {}});
        found = domainIndex_.emplace(domainKey, domains_.size() - 1).first;
    }
    TNetCookieList& list = domains_[found->second].Cookies;
    const int index = list.IndexOfName(cookie->CookieName);
    if (index >= 0) {
        // The newer cookie takes the old one's place whole: its value, path, expiry and flags. Re-reading it
        // through its "Set-cookie" form would drop an expiry (so a deletion by a past date never happened)
        // and would turn an emptied value into a cookie named after its first attribute. It keeps the old
        // one's age.
        list.Items[static_cast<size_t>(index)] = {cookie->CookieName, std::move(cookie)};
        list.reindex();
        return;
    }
    if (list.Items.size() >= kMaxCookiesPerDomain) {
        byAge_.erase(list.orders_.front());
        list.removeAt(0);
    }
    const uint64_t order = nextOrder_++;
    list.add(std::move(cookie), order);
    byAge_.emplace(order, domainKey);
    if (byAge_.size() > kMaxCookies) evictOldestOverall();
}

void TNetCookies::removeCookie(size_t domainIndex, size_t itemIndex) {
    TNetCookieList& list = domains_[domainIndex].Cookies;
    byAge_.erase(list.orders_[itemIndex]);
    list.removeAt(itemIndex);
}

void TNetCookies::evictOldestOverall() {
    const auto oldest = byAge_.begin();
    const size_t domainIndex = domainIndex_.at(oldest->second);
    const auto& orders = domains_[domainIndex].Cookies.orders_;
    const size_t itemIndex =
        static_cast<size_t>(std::find(orders.begin(), orders.end(), oldest->first) - orders.begin());
    removeCookie(domainIndex, itemIndex);
    dropEmptyDomains();
}

// A domain without cookies goes, so that the domain list stays bounded by the cookie count.
void TNetCookies::dropEmptyDomains() {
    const auto empty = [](const DomainEntry& entry) { return entry.Cookies.Items.empty(); };
    if (std::none_of(domains_.begin(), domains_.end(), empty)) return;
    domains_.erase(std::remove_if(domains_.begin(), domains_.end(), empty), domains_.end());
    domainIndex_.clear();
    for (size_t i = 0; i < domains_.size(); ++i) domainIndex_[UpperCase(domains_[i].Domain)] = i;
}

void TNetCookies::PurgeExpired() {
    CookieLock lock(*this, TNetCookieAccess::Write);
    const TDateTime now = Clock();
    for (size_t d = 0; d < domains_.size(); ++d) {
        auto& items = domains_[d].Cookies.Items;
        for (size_t i = items.size(); i-- > 0;) {
            const auto& cookie = *items[i].second;
            if (!cookie.ExpiresText.empty() && now > ParseHttpDate(cookie.ExpiresText)) removeCookie(d, i);
        }
    }
    dropEmptyDomains();
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
    // A cookie that would bring control bytes into a request line, or that is larger than a client keeps,
    // is ignored whole (RFC 6265bis 5.6).
    if (text.size() > TNetCookies::kMaxCookieBytes || hasControlBytes(text)) return;
    cookie->Clock = cookies_.Clock;
    cookie->ParseCookieText(text);
    // Only an answer over https may set a Secure cookie, and a plain one may not overwrite or delete a Secure
    // cookie that would be sent along with it (RFC 6265bis 5.6, "strict secure cookies").
    const bool https = SameText(uri.Protocol, "https");
    if (cookie->IsSecure && !https) return;
    if (!acceptableDomain(*cookie, uri.Host)) return;
    // A cookie that names no path belongs to the directory of the request that set it.
    if (cookie->PathText.empty()) cookie->PathText = uri.DirPath;
    if (!https && shadowsSecureCookie(*cookie)) return;
    bool accepted = true;
    if (OnNewCookie) OnNewCookie(*this, *cookie, accepted);
    if (!accepted) return;
    cookies_.StoreCookie(std::move(cookie));
}

bool TNetCookieManager::shadowsSecureCookie(const TNetNetscapeCookie& cookie) {
    CookieLock lock(cookies_, TNetCookieAccess::Read);
    const std::string_view newDomain = bareDomain(cookie.DomainText);
    for (const auto& entry : cookies_.Domains()) {
        const std::string_view oldDomain = bareDomain(entry.Domain);
        if (!domainMatches(oldDomain, newDomain) && !domainMatches(newDomain, oldDomain)) continue;
        const int index = entry.Cookies.IndexOfName(cookie.CookieName);
        if (index < 0) continue;
        const TNetNetscapeCookie& old = *entry.Cookies.Items[static_cast<size_t>(index)].second;
        if (old.IsSecure && pathMatches(cookie.PathText, old.PathText)) return true;
    }
    return false;
}

std::string TNetCookieManager::CookieHeaderFor(const TNetURI& uri, bool secure) {
    cookies_.PurgeExpired();
    std::vector<const TNetNetscapeCookie*> taken;
    {
        CookieLock lock(cookies_, TNetCookieAccess::Read);
        const std::string path = requestPath(uri);
        for (const auto& entry : cookies_.Domains()) {
            if (!sendsTo(entry.Domain, uri.Host)) continue;
            const auto& items = entry.Cookies.Items;
            for (auto it = items.rbegin(); it != items.rend(); ++it) {
                const TNetNetscapeCookie& cookie = *it->second;
                if (!pathMatches(cookie.PathText, path)) continue;
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
            const std::string form = cookie->ClientForm();
            const size_t separator = header.empty() ? 0 : 2;
            if (header.size() + separator + form.size() > kMaxCookieHeaderBytes) continue;
            if (separator) header += "; ";
            header += form;
        }
        return header;
    }
}

}  // namespace dorvanel::http
