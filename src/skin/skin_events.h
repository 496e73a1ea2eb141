#pragma once
// Skin change notifications. Each is a QEvent whose type is QEvent::User + the message number; it carries
// the skin data that sends it (receivers compare it with the skin they draw from) and the number 1000.
#include <QEvent>

namespace dorvanel::skin {

class TSkinData;

inline constexpr int SKIN_MSG_PREPARE = 1225;  // a new skin is about to replace the live one
inline constexpr int SKIN_MSG_APPLY = 1226;    // the new skin is complete
inline constexpr int SKIN_MSG_APPLIED = 1227;  // right after SKIN_MSG_APPLY
inline constexpr int SKIN_MSG_STRINGS = 1274;  // the resource strings were assigned

class TSkinMessageEvent : public QEvent {
public:
    TSkinMessageEvent(int message, TSkinData* sender)
        : QEvent(EventType(message)), FMessage(message), FSkinData(sender) {}

    static constexpr QEvent::Type EventType(int message) { return QEvent::Type(QEvent::User + message); }
    // True for the four skin notification types.
    static bool IsSkinMessage(const QEvent* event) {
        const int t = event->type();
        return t == EventType(SKIN_MSG_PREPARE) || t == EventType(SKIN_MSG_APPLY) || t == EventType(SKIN_MSG_APPLIED) ||
               t == EventType(SKIN_MSG_STRINGS);
    }

    int Message() const { return FMessage; }
    TSkinData* SkinData() const { return FSkinData; }  // the first parameter
    int Param2() const { return 1000; }                // the second parameter

private:
    int FMessage;
    TSkinData* FSkinData;
};

}  // namespace dorvanel::skin
