#pragma once

#include <QString>
#include <QStringView>
#include <optional>
#include <span>

// The three kinds of notification target on the general settings page and the check-box arrays of the
// event pages that choose among them. Member i >= 1 of an array stands for target i, member 0 is the all box.
enum class NotifyKind { Sms, Fax, Mail };

struct NotifyKindSpec
{
    NotifyKind kind;
    const char16_t *boxArray; // check boxes on the event pages
    int members; // targets 1..members
    const char16_t *targetField; // number or address on frm1
    const char16_t *nameField; // the target's name on frm1
};

const NotifyKindSpec &notifySpec(NotifyKind kind);
QString notifyBoxArray(NotifyKind kind);
QString notifyTargetField(NotifyKind kind);
QString notifyNameField(NotifyKind kind);
int notifyMemberCount(NotifyKind kind);

// The kind whose check-box array, or whose target field on frm1, has that name (case does not matter).
std::optional<NotifyKind> notifyKindOfArray(QStringView arrayName);
std::optional<NotifyKind> notifyKindOfTarget(QStringView fieldName);

// The event pages that have a set of that kind, in the order a changed target is carried to them.
std::span<const char16_t *const> notifyPropagationOrder(NotifyKind kind);

// Every kind, in the order the pages refresh their all boxes on activation.
inline constexpr NotifyKind kNotifyKinds[] = { NotifyKind::Sms, NotifyKind::Mail, NotifyKind::Fax };
