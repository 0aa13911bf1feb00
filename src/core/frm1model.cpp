#include "core/pagemodelrules.h"

// The general settings page: the provider decides the mail number and the fax prefix.
//
// The targets (phone, fax and e-mail) have no rule here: the event pages follow a target when the user leaves
// its field (propagateTarget) and when they load, never on each change of its text.
namespace {

const QString kSection = QStringLiteral("frm1");
const QString kProvider = QStringLiteral("optAnb");
constexpr int kProviderCount = 5; // optAnb(0) "Andere Anbieter", optAnb(1..4) the providers

struct Provider
{
    const char16_t *mailNumber;
    const char16_t *faxPrefix;
};

// optAnb(1..4); member 0 keeps whatever the fields hold.
constexpr Provider kProviders[kProviderCount] = {
    { nullptr, nullptr },
    { u"8000", u"99" },
    { u"3400", u"88" },
    { u"7676245", u"1551" },
    { u"6245", u"329" },
};

int providerField(ConfigurationEditor &editor, int member)
{
    return editor.field(kSection, kProvider, member);
}

// A provider chosen, by the user or by the settings file: its numbers replace the fields' texts and lock
// them; "Andere Anbieter" unlocks them with the texts in place.
void chooseProvider(ConfigurationEditor &editor, int member)
{
    const int mailNumber = editor.field(kSection, u"txtAnr");
    const int faxPrefix = editor.field(kSection, u"txtFAxPref");
    if (member >= 1 && member < kProviderCount) {
        editor.setText(mailNumber, QString::fromUtf16(kProviders[member].mailNumber));
        editor.setText(faxPrefix, QString::fromUtf16(kProviders[member].faxPrefix));
    }
    const bool other = member == 0;
    editor.setEnabled(mailNumber, other);
    editor.setEnabled(faxPrefix, other);
}

void changed(ConfigurationEditor &editor, const ConfigField &field, const QString &, const QString &after)
{
    if (field.kind == ValueKind::Option && QStringView(field.name) == kProvider && after == u"-1")
        chooseProvider(editor, field.index);
}

// No provider is chosen until the settings file has been read, so that only a provider the file selects
// runs its choice (D 1 included, whose numbers then replace those the file holds).
void loading(ConfigurationEditor &editor)
{
    for (int member = 0; member < kProviderCount; ++member)
        editor.setStateWithoutRules(providerField(editor, member), 0);
}

// When the file selects none (no key, all "0", or nothing usable), the design choice D 1 comes back without
// being run: a hand-edited mail number and fax prefix stay as read, locked.
void loaded(ConfigurationEditor &editor)
{
    for (int member = 0; member < kProviderCount; ++member) {
        if (editor.state(providerField(editor, member)) != 0)
            return;
    }
    editor.setStateWithoutRules(providerField(editor, 1), 1);
}

} // namespace

const PageModelRules &frm1ModelRules()
{
    static const PageModelRules rules { changed, loaded, loading };
    return rules;
}
