#pragma once
// The client's in-memory cookie jar: at most one cookie per (domain, name), kept for as long as the client
// lives, and the "Cookie" header value for each request.
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <unordered_map>
#include <utility>
#include <vector>

#include "http/cookie.h"
#include "http/uri.h"

namespace dorvanel::http {

enum class TNetCookieAccess { Read, Write };

// The cookies of one domain by name (compared without case), in the order they were added; a name is
// found in constant time.
class TNetCookieList {
public:
    int IndexOfName(const std::string& name) const;
    // Read-only to everyone but the jar, which keeps the name index in step with it.
    std::vector<std::pair<std::string, std::unique_ptr<TNetNetscapeCookie>>> Items;

private:
    friend class TNetCookies;
    void add(std::unique_ptr<TNetNetscapeCookie> cookie, uint64_t order);
    void removeAt(size_t index);
    void reindex();

    std::vector<uint64_t> orders_;  // when each item was first stored, for eviction of the oldest
    std::unordered_map<std::string, size_t> byName_;
};

class TNetCookies {
public:
    // What a peer can make the jar hold (RFC 6265 section 6.1 asks at least this much of a client, and no
    // more is kept): a larger cookie is refused; past the counts, the oldest cookie of the domain, or of the
    // whole jar, makes room.
    static constexpr size_t kMaxCookieBytes = 4096;
    static constexpr size_t kMaxCookiesPerDomain = 50;
    static constexpr size_t kMaxCookies = 3000;

    struct DomainEntry {
        std::string Domain;
        TNetCookieList Cookies;
    };

    // Files the cookie under its domain (created at the end when new). A cookie of the same domain and name
    // (ignoring case) is replaced in its place.
    void StoreCookie(std::unique_ptr<TNetNetscapeCookie> cookie);
    // Deletes every cookie whose expiry lies before `Clock()`; an expiry that does not read counts as long past.
    void PurgeExpired();
    // The jar's "now", also given to each cookie it takes in; tests put a fixed one in.
    std::function<TDateTime()> Clock = Now;

    // Many readers or one writer; the writer may lock again, for reading or writing, while it holds the lock.
    void LockCookieList(TNetCookieAccess access);
    void UnlockCookieList(TNetCookieAccess access);

    // The domains in the order they first appeared. Read them under a read lock.
    const std::vector<DomainEntry>& Domains() const { return domains_; }
    int Count() const { return static_cast<int>(byAge_.size()); }

private:
    void removeCookie(size_t domainIndex, size_t itemIndex);
    void evictOldestOverall();
    void dropEmptyDomains();

    std::vector<DomainEntry> domains_;
    std::unordered_map<std::string, size_t> domainIndex_;  // upper-cased domain to its entry
    std::map<uint64_t, std::string> byAge_;                // every cookie's order to its domain (upper-cased)
    uint64_t nextOrder_ = 0;

    std::mutex lockState_;
    std::condition_variable lockChanged_;
    int readers_ = 0;
    int writeDepth_ = 0;
    std::thread::id writer_;
};

class TNetCookieManager {
public:
    static constexpr size_t kMaxCookieHeaderBytes = 8192;

    using TOnManagerEvent = std::function<void(TNetCookieManager& ASender, TNetCookies& ACookieCollection)>;
    using TOnNewCookieEvent =
        std::function<void(TNetCookieManager& ASender, TNetNetscapeCookie& ACookie, bool& VAccept)>;

    // `onCreate` is kept as OnCreate and fired once the jar exists.
    explicit TNetCookieManager(TOnManagerEvent onCreate = {});
    // Purges, fires OnDestroy, and frees every cookie.
    ~TNetCookieManager();
    TNetCookieManager(const TNetCookieManager&) = delete;
    TNetCookieManager& operator=(const TNetCookieManager&) = delete;

    TOnManagerEvent OnCreate;
    TOnManagerEvent OnDestroy;
    TOnNewCookieEvent OnNewCookie;

    // Parse one "Set-cookie" (or "Set-cookie2") value received in answer to a request for `uri` and store
    // it. The request's Host is the origin; its DirPath is the path of a cookie that names none; its
    // Protocol says whether the answer came over https.
    void AcceptSetCookie(const std::string& text, const TNetURI& uri);
    void AcceptSetCookie2(const std::string& text, const TNetURI& uri);

    // The "Cookie" header value for a request to `uri`; empty when no cookie applies. `secure`: a TLS
    // connection. At most kMaxCookieHeaderBytes: cookies that would make it longer are left out.
    std::string CookieHeaderFor(const TNetURI& uri, bool secure);
    void PurgeExpired() { cookies_.PurgeExpired(); }

    TNetCookies& CookieCollection() { return cookies_; }

private:
    void accept(std::unique_ptr<TNetNetscapeCookie> cookie, const std::string& text, const TNetURI& uri);
    // A Secure cookie of the same name is stored whose domain and path the new one's would cover.
    bool shadowsSecureCookie(const TNetNetscapeCookie& cookie);
    TNetCookies cookies_;
};

}  // namespace dorvanel::http
