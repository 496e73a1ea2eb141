#include "http/authentication.h"

#include <list>
#include <mutex>

#include "http/base64.h"
#include "http/exceptions.h"
#include "http/net_text.h"

namespace dorvanel::http {

TNetAuthentication::TNetAuthentication() {
    // Credentials are kept exactly as given: folding a long password would put a blank into it when read.
    Credentials.WrapOnSet = false;
}

std::string TNetAuthentication::credential(const std::string& name) const {
    // Read without the trimming of ValueOf, so blanks at the ends of a password survive.
    const int index = Credentials.FindHeader(name);
    if (index < 0) return {};
    const std::string& line = Credentials.Lines[static_cast<size_t>(index)];
    const size_t valueStart = name.size() + Credentials.Separator.size();
    return valueStart < line.size() ? line.substr(valueStart) : std::string();
}

std::string TNetAuthentication::Username() const { return credential("username"); }
void TNetAuthentication::SetUsername(const std::string& value) { Credentials.SetHeaderValue("Username", value); }
std::string TNetAuthentication::Password() const { return credential("password"); }
void TNetAuthentication::SetPassword(const std::string& value) { Credentials.SetHeaderValue("Password", value); }

void TNetAuthentication::SetChallenge(const std::vector<std::string>& values) {
    if (!challengeLines_) challengeLines_ = std::make_unique<TNetHeaderList>();
    challengeLines_->Lines = values;
}

std::string TNetAuthentication::FindChallenge(const std::string& name) const {
    if (!challengeLines_) return {};
    for (const auto& line : challengeLines_->Lines) {
        if (line.compare(0, name.size(), name) == 0) return line;
    }
    return {};
}

std::string TNetBasicAuthentication::AuthorizationValue() {
    return "Basic " + EncodeText(Username() + ":" + Password());
}

TNetAuthWhatsNext TNetBasicAuthentication::NextStep() {
    std::string rest = FindChallenge("Basic");
    TakeToken(rest, " ");
    while (!rest.empty()) {
        std::string parameter = TakeToken(rest, ", ");
        const size_t eq = parameter.find('=');
        // The credentials are the user's: a challenge naming "username" or "password" cannot set them.
        const std::string name = Trim(parameter.substr(0, eq));
        if (SameText(name, "username") || SameText(name, "password")) continue;
        if (eq != std::string::npos) parameter.replace(eq, 1, Credentials.Separator);
        Credentials.Add(parameter);
    }
    const std::string realm = Credentials.ValueOf("realm");
    RealmText = realm.size() >= 2 ? realm.substr(1, realm.size() - 2) : std::string();
    if (StepsDone != 0) return TNetAuthWhatsNext::GiveUp;
    return Username().empty() ? TNetAuthWhatsNext::AskCaller : TNetAuthWhatsNext::SendNow;
}

namespace {

struct Registry {
    Registry() { schemes.emplace_back("Basic", BasicAuthenticationClass()); }
    std::mutex lock;
    // A list, so the classes handed out by FindScheme stay where they are.
    std::list<std::pair<std::string, TNetAuthenticationClass>> schemes;
};

Registry& registry() {
    static Registry instance;
    return instance;
}

}  // namespace

const TNetAuthenticationClass& BasicAuthenticationClass() {
    static const TNetAuthenticationClass basic{"TNetBasicAuthentication",
                                               [] { return std::make_unique<TNetBasicAuthentication>(); }};
    return basic;
}

void RegisterScheme(const std::string& name, const TNetAuthenticationClass& schemeClass) {
    Registry& r = registry();
    std::lock_guard guard(r.lock);
    for (const auto& [registered, cls] : r.schemes) {
        if (SameText(registered, name)) throw ENetAlreadyRegisteredAuthenticationMethod(cls.ClassName);
    }
    r.schemes.emplace_back(name, schemeClass);
}

const TNetAuthenticationClass* FindScheme(const std::string& name) {
    Registry& r = registry();
    std::lock_guard guard(r.lock);
    for (const auto& [registered, cls] : r.schemes) {
        if (SameText(registered, name)) return &cls;
    }
    return nullptr;
}

void TNetAuthenticationManager::AddAuthentication(const TNetAuthentication& authentication, TNetURI uri) {
    TNetAuthenticationItem item;
    item.URI.ParseUri(uri.ComposeUri());
    item.Params = authentication.Credentials.Lines;
    Items.push_back(std::move(item));
}

const TNetAuthenticationClass* ChooseScheme(const TNetHeaderList& challenges, const TNetSelectScheme& onSelect) {
    const TNetAuthenticationClass* chosen = nullptr;
    for (const std::string& value : challenges.Lines) {
        std::string challenge = value;
        chosen = FindScheme(TakeToken(challenge, " "));
        if (chosen) break;
    }
    if (chosen && onSelect) onSelect(chosen, challenges);
    return chosen;
}

bool NegotiateCredentials(TNetAuthentication& scheme, std::string& username, std::string& password,
                          const TNetHeaderList& challenges, const TNetAskCredentials& askCaller, int32_t chances,
                          bool* callerAnswered) {
    scheme.SetUsername(username);
    scheme.SetPassword(password);
    scheme.SetChallenge(challenges.Lines);
    for (int32_t asked = 0; asked <= chances; ++asked) {
        switch (scheme.NextStep()) {
            case TNetAuthWhatsNext::SendNow:
                return true;
            case TNetAuthWhatsNext::GiveUp:
                return false;
            case TNetAuthWhatsNext::AskCaller: {
                scheme.SetUsername(username);
                scheme.SetPassword(password);
                bool handled = false;
                if (askCaller) askCaller(scheme, handled);
                if (!handled) return false;
                if (callerAnswered) *callerAnswered = true;
                username = scheme.Username();
                password = scheme.Password();
                break;
            }
        }
    }
    return false;
}

}  // namespace dorvanel::http
