#include "core/notifykinds.h"

namespace {

constexpr NotifyKindSpec kSpecs[] = {
    { NotifyKind::Sms, u"chksms1", 12, u"txtFon1", u"txtName1" },
    { NotifyKind::Fax, u"chkfax1", 4, u"txtFax1", u"txtNamef1" },
    { NotifyKind::Mail, u"chkmail1", 4, u"txtMail1", u"txtNamem1" },
};

constexpr const char16_t *kSmsPages[] = { u"frm2", u"frm3", u"frm4", u"frm5", u"frm6", u"frm7", u"frm9" };
constexpr const char16_t *kFaxPages[] = { u"frm2", u"frm3", u"frm5" };
constexpr const char16_t *kMailPages[] = { u"frm9", u"frm2", u"frm3", u"frm4", u"frm5", u"frm6" };

} // namespace

const NotifyKindSpec &notifySpec(NotifyKind kind)
{
    for (const NotifyKindSpec &entry : kSpecs) {
        if (entry.kind == kind)
            return entry;
    }
    Q_UNREACHABLE();
}

QString notifyBoxArray(NotifyKind kind)
{
    return QString::fromUtf16(notifySpec(kind).boxArray);
}

QString notifyTargetField(NotifyKind kind)
{
    return QString::fromUtf16(notifySpec(kind).targetField);
}

QString notifyNameField(NotifyKind kind)
{
    return QString::fromUtf16(notifySpec(kind).nameField);
}

int notifyMemberCount(NotifyKind kind)
{
    return notifySpec(kind).members;
}

std::optional<NotifyKind> notifyKindOfArray(QStringView arrayName)
{
    for (const NotifyKindSpec &entry : kSpecs) {
        if (arrayName.compare(QStringView(entry.boxArray), Qt::CaseInsensitive) == 0)
            return entry.kind;
    }
    return std::nullopt;
}

std::optional<NotifyKind> notifyKindOfTarget(QStringView fieldName)
{
    for (const NotifyKindSpec &entry : kSpecs) {
        if (fieldName.compare(QStringView(entry.targetField), Qt::CaseInsensitive) == 0)
            return entry.kind;
    }
    return std::nullopt;
}

std::span<const char16_t *const> notifyPropagationOrder(NotifyKind kind)
{
    switch (kind) {
    case NotifyKind::Sms:
        return kSmsPages;
    case NotifyKind::Fax:
        return kFaxPages;
    case NotifyKind::Mail:
        return kMailPages;
    }
    return {};
}
