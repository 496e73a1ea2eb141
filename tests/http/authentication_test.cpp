#include "http/authentication.h"

#include <gtest/gtest.h>

#include "http/exceptions.h"

namespace dorvanel::http {
namespace {

TEST(BasicAuthentication, ValueIsBase64OfUserColonPassword) {
    TNetBasicAuthentication basic;
    basic.SetUsername("Aladdin");
    basic.SetPassword("open sesame");
    // RFC 7617 section 2.
    EXPECT_EQ(basic.AuthorizationValue(), "Basic QWxhZGRpbjpvcGVuIHNlc2FtZQ==");
}

TEST(BasicAuthentication, EmptyPartsStillGiveTheColon) {
    TNetBasicAuthentication basic;
    EXPECT_EQ(basic.AuthorizationValue(), "Basic Og==");
    basic.SetUsername("u");
    EXPECT_EQ(basic.AuthorizationValue(), "Basic dTo=");
    basic.SetUsername("");
    basic.SetPassword("p");
    EXPECT_EQ(basic.AuthorizationValue(), "Basic OnA=");
}

TEST(BasicAuthentication, CredentialsAreKeptExactly) {
    TNetBasicAuthentication basic;
    const std::string longPassword = " x, " + std::string(100, 'y') + "\tz ";
    basic.SetUsername("user");
    basic.SetPassword(longPassword);
    EXPECT_EQ(basic.Password(), longPassword);
    EXPECT_EQ(basic.Username(), "user");
    EXPECT_EQ(basic.Credentials.Lines, (std::vector<std::string>{"Username: user", "Password: " + longPassword}));
}

TEST(BasicAuthentication, ChallengeGivesTheRealmAndTheNextStep) {
    TNetBasicAuthentication basic;
    EXPECT_EQ(basic.FindChallenge("Basic"), "");
    basic.SetChallenge({"Digest realm=\"d\"", "Basic realm=\"Keyword service\", charset=\"UTF-8\""});
    EXPECT_EQ(basic.FindChallenge("Basic"), "Basic realm=\"Keyword service\", charset=\"UTF-8\"");
    EXPECT_EQ(basic.FindChallenge("basic"), "");
    EXPECT_EQ(basic.NextStep(), TNetAuthWhatsNext::AskCaller);
    EXPECT_EQ(basic.RealmText, "Keyword service");
    EXPECT_EQ(basic.Credentials.ValueOf("charset"), "\"UTF-8\"");
    basic.SetUsername("u");
    EXPECT_EQ(basic.NextStep(), TNetAuthWhatsNext::SendNow);
    EXPECT_EQ(basic.StepCount(), 1);
    EXPECT_EQ(basic.StepsDone, 0);
}

TEST(BasicAuthentication, ChallengeCannotFillTheCredentials) {
    TNetBasicAuthentication basic;
    basic.SetChallenge({"Basic realm=\"r\", username=\"evil\", Password=\"x\", USERNAME=other"});
    EXPECT_EQ(basic.NextStep(), TNetAuthWhatsNext::AskCaller);
    EXPECT_EQ(basic.Username(), "");
    EXPECT_EQ(basic.Password(), "");
    EXPECT_EQ(basic.RealmText, "r");
}

TEST(BasicAuthentication, HostileChallengesDoNotFail) {
    for (const char* challenge : {"Basic", "Basic ", "Basic realm", "Basic realm=", "Basic realm=\"", "Basic , , ,"}) {
        TNetBasicAuthentication basic;
        basic.SetChallenge({challenge});
        EXPECT_NO_THROW(basic.NextStep()) << challenge;
    }
}

TEST(SchemeRegistry, BasicIsRegisteredAndCannotBeRegisteredTwice) {
    const TNetAuthenticationClass* basic = FindScheme("basic");
    ASSERT_NE(basic, nullptr);
    EXPECT_EQ(basic->ClassName, "TNetBasicAuthentication");
    EXPECT_EQ(basic->Create()->ClassName(), "TNetBasicAuthentication");
    EXPECT_EQ(FindScheme("NTLM"), nullptr);
    try {
        RegisterScheme("BASIC", {"TOther", [] { return std::make_unique<TNetBasicAuthentication>(); }});
        FAIL();
    } catch (const ENetAlreadyRegisteredAuthenticationMethod& e) {
        EXPECT_STREQ(e.what(),
                     "This authentication method is already registered with class name TNetBasicAuthentication.");
    }
}

TEST(SchemeRegistry, NewSchemesAreFoundByName) {
    RegisterScheme("X-Test-Scheme", {"TTestScheme", [] { return std::make_unique<TNetAuthentication>(); }});
    const TNetAuthenticationClass* found = FindScheme("x-test-scheme");
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found->ClassName, "TTestScheme");
    EXPECT_EQ(FindScheme("Basic")->ClassName, "TNetBasicAuthentication");
}

TEST(AuthenticationManager, KeepsTheAddressWithoutLoginAndACopyOfTheCredentials) {
    TNetBasicAuthentication basic;
    basic.SetUsername("u");
    basic.SetPassword("p");
    TNetAuthenticationManager manager;
    manager.AddAuthentication(basic, TNetURI("http://u:p@h.test:81/a/b.html?x#f"));
    ASSERT_EQ(manager.Items.size(), 1u);
    EXPECT_EQ(manager.Items[0].URI.FullText, "http://h.test:81/a/b.html?x");
    EXPECT_EQ(manager.Items[0].URI.LoginName, "");
    EXPECT_EQ(manager.Items[0].Params, (std::vector<std::string>{"Username: u", "Password: p"}));
}

}  // namespace
}  // namespace dorvanel::http
