#include "statuslog.h"

#include "core/cp1252.h"

StatusLog::StatusLog(const QString &fileName)
    : m_file(fileName)
{
}

void StatusLog::setFileName(const QString &fileName)
{
    close();
    m_file.setFileName(fileName);
}

bool StatusLog::open()
{
    close();
    return m_file.open(QIODevice::WriteOnly | QIODevice::Append);
}

bool StatusLog::append(const QString &message)
{
    if (!m_file.isOpen())
        return false;
    const QByteArray line = toCp1252(message) + QByteArrayLiteral("\r\n");
    return m_file.write(line) == line.size() && m_file.flush();
}

void StatusLog::close()
{
    if (m_file.isOpen())
        m_file.close();
}
