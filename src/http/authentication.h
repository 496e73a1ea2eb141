#pragma once
// Authentication schemes answer a 401 or 407 challenge and build the "Authorization" value. Schemes are
// found by name in a process-wide registry; "Basic" is the one registered from the start.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "http/header_list.h"
#include "http/uri.h"

namespace dorvanel::http {

enum class TNetAuthWhatsNext { SendNow, AskCaller, GiveUp };

class TNetAuthentication {
public:
    TNetAuthentication();
    virtual ~TNetAuthentication() = default;

    // "Username" and "Password" lines, plus what a scheme reads out of the challenge.
    TNetHeaderList Credentials;
    int32_t StepsDone = 0;

    std::string Username() const;
    void SetUsername(const std::string& value);
    std::string Password() const;
    void SetPassword(const std::string& value);

    // A copy of the challenge header values; null until a challenge is set.
    const TNetHeaderList* ChallengeLines() const { return challengeLines_.get(); }
    void SetChallenge(const std::vector<std::string>& values);
    // The first challenge line that begins with `name` (case counts); empty when there is none.
    std::string FindChallenge(const std::string& name) const;

    virtual std::string AuthorizationValue() { return {}; }
    virtual TNetAuthWhatsNext NextStep() { return TNetAuthWhatsNext::GiveUp; }
    virtual int32_t StepCount() const { return 0; }
    void ResetSteps() { StepsDone = 0; }
    virtual std::string ClassName() const { return "TNetAuthentication"; }

private:
    std::string credential(const std::string& name) const;
    std::unique_ptr<TNetHeaderList> challengeLines_;
};

class TNetBasicAuthentication : public TNetAuthentication {
public:
    std::string RealmText;

    // "Basic " and the Base64 of user name, ":" and password.
    std::string AuthorizationValue() override;
    TNetAuthWhatsNext NextStep() override;
    int32_t StepCount() const override { return 1; }
    std::string ClassName() const override { return "TNetBasicAuthentication"; }
};

// What the registry keeps for a scheme: the class's name and how to make one.
struct TNetAuthenticationClass {
    std::string ClassName;
    std::function<std::unique_ptr<TNetAuthentication>()> Create;
};

// Fails with ENetAlreadyRegisteredAuthenticationMethod when `name` (compared without case) is taken.
void RegisterScheme(const std::string& name, const TNetAuthenticationClass& schemeClass);
// The class registered under `name`, or null.
const TNetAuthenticationClass* FindScheme(const std::string& name);
const TNetAuthenticationClass& BasicAuthenticationClass();

// Negotiating a challenge. The scheme is the first one named by a challenge line that the registry knows;
// `onSelect` may then change it. Null when no line names a known scheme.
using TNetSelectScheme = std::function<void(const TNetAuthenticationClass*& chosen, const TNetHeaderList& challenges)>;
const TNetAuthenticationClass* ChooseScheme(const TNetHeaderList& challenges, const TNetSelectScheme& onSelect);

// Takes the scheme through its steps for `challenges`, asking `askCaller` (which sets `handled`) for
// credentials whenever the scheme needs them, at most `chances` + 1 times: a handler that accepts without
// ever giving a user name would be asked for ever. The credentials it gave are written back to `username`
// and `password`. True when the scheme has something to send now.
using TNetAskCredentials = std::function<void(TNetAuthentication& scheme, bool& handled)>;
bool NegotiateCredentials(TNetAuthentication& scheme, std::string& username, std::string& password,
                          const TNetHeaderList& challenges, const TNetAskCredentials& askCaller, int32_t chances,
                          bool* callerAnswered = nullptr);

// Remembers which credentials went with which address. The client may hold one; this program never does.
struct TNetAuthenticationItem {
    TNetURI URI;
    std::vector<std::string> Params;
};

class TNetAuthenticationManager {
public:
    // The item's address is the composed URI without login and fragment; the parameters copy the scheme's
    // Credentials lines.
    void AddAuthentication(const TNetAuthentication& authentication, TNetURI uri);
    std::vector<TNetAuthenticationItem> Items;
};

}  // namespace dorvanel::http
