#include "cli/jsonlines.h"

#include <QJsonDocument>

#include <cstdio>

void printJsonLine(const QJsonObject &object)
{
    // UTF-8 whatever the locale: JSON has no other encoding. Compact output holds no line break, since
    // one inside a string is written \n.
    const QByteArray line = QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n';
    std::fwrite(line.constData(), 1, size_t(line.size()), stdout);
    std::fflush(stdout);
}
