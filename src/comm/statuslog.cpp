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
    return write(toCp1252(message) + QByteArrayLiteral("\r\n"));
}

bool StatusLog::appendPiece(const QString &piece)
{
    return write(toCp1252(piece));
}

bool StatusLog::write(const QByteArray &bytes)
{
    if (!m_file.isOpen())
        return false;
    return m_file.write(bytes) == bytes.size() && m_file.flush();
}

void StatusLog::close()
{
    if (m_file.isOpen())
        m_file.close();
}
