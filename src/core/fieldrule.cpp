#include "core/fieldrule.h"

FieldRule limitFieldRule(LimitLeaving leaving)
{
    return { KeyFilter::Digits, 3, 0, leaving };
}

std::optional<QString> storedFieldText(const FieldRule &rule, const QString &value)
{
    // No key types a control character (C0, DEL or the C1 codes the code page's unassigned bytes read as),
    // and a one-line field keeps none: they go before the length is counted.
    QString characters;
    characters.reserve(value.size());
    for (const QChar c : value) {
        if (c.category() != QChar::Other_Control)
            characters.append(c);
    }
    QString text = filterInsertedText(rule.filter, characters, rule.maxLength);
    if (text.isEmpty() || text.size() < rule.minLength)
        return std::nullopt;
    if (rule.limit)
        text = limitAfterLeaving(text, *rule.limit).text;
    return text;
}
