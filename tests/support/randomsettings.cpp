#include "support/randomsettings.h"

#include "core/configfields.h"

#include <QStringList>

namespace {

// A small generator of our own, so that a seed gives the same file whatever the standard library.
class Dice
{
public:
    explicit Dice(quint32 seed)
        : m_state(seed * 2654435761u + 1)
    {
    }
    quint32 next()
    {
        m_state ^= m_state << 13;
        m_state ^= m_state >> 17;
        m_state ^= m_state << 5;
        return m_state;
    }
    int below(int n) { return int(next() % quint32(n)); }
    bool chance(int percent) { return below(100) < percent; }
    template<class T>
    const T &pick(const QList<T> &list) { return list.at(below(int(list.size()))); }

private:
    quint32 m_state;
};

const QString kCharacters = QStringLiteral("0123456789+-=@> abcXYZ\u00e4\u00df.,;_[]\x01\x7f\u0081");

QString randomText(Dice &dice, int maxLength)
{
    const int length = dice.below(qMax(2, maxLength + 6));
    QString text;
    for (int i = 0; i < length; ++i)
        text.append(kCharacters.at(dice.below(int(kCharacters.size()))));
    return text;
}

QString textValue(Dice &dice, const ConfigField &field)
{
    static const QList<QString> numbers
        = { QStringLiteral("0"), QStringLiteral("5"), QStringLiteral("50"), QStringLiteral("100"),
              QStringLiteral("101"), QStringLiteral("-7"), QStringLiteral("999"), QStringLiteral("007"),
              QStringLiteral("1234"), QStringLiteral("0815"), QStringLiteral("12a"), QStringLiteral("2") };
    switch (dice.below(6)) {
    case 0:
        return QString::fromUtf16(field.design);
    case 1:
        return dice.pick(numbers);
    case 2:
        return QStringLiteral("+49 171 2345678");
    case 3:
        return QString(300, u'7');
    default:
        return randomText(dice, field.rule.maxLength < 0 ? 20 : field.rule.maxLength);
    }
}

QString stateValue(Dice &dice)
{
    static const QList<QString> states = { QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("2"),
        QStringLiteral("-1"), QStringLiteral("3"), QStringLiteral("1.9"), QStringLiteral(" 1 "),
        QStringLiteral("x"), QStringLiteral("-0.5"), QStringLiteral("70000"), QStringLiteral("1e1") };
    // Mostly the values the program writes, so the rules between values get to run.
    if (dice.chance(70))
        return dice.pick(QList<QString> { QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("-1") });
    return dice.pick(states);
}

QString anyCase(Dice &dice, const QString &text)
{
    if (!dice.chance(10))
        return text;
    return dice.chance(50) ? text.toUpper() : text.toLower();
}

} // namespace

IniDocument randomSettings(quint32 seed)
{
    Dice dice(seed);
    IniDocument document;
    // A few files are nearly complete, a few nearly empty, most in between.
    const int presence = dice.pick(QList<int> { 5, 30, 60, 85, 97 });
    for (const ConfigField &field : configurationFields()) {
        if (!dice.chance(presence))
            continue;
        const QString value = field.kind == ValueKind::Text ? textValue(dice, field) : stateValue(dice);
        if (value.isEmpty())
            continue;
        document.setValue(anyCase(dice, QString::fromUtf16(field.section)), anyCase(dice, field.key()), value);
        if (dice.chance(2))
            document.setValue(QString::fromUtf16(field.section), QStringLiteral("unknown%1").arg(dice.below(9)),
                QStringLiteral("1"));
    }
    if (dice.chance(20))
        document.setValue(QStringLiteral("frm8"), QStringLiteral("cmbCOM"), QStringLiteral("3"));
    return document;
}
