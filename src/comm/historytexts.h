#pragma once

#include <QString>
#include <QStringList>

// The texts of the history window and of the lines the program writes into the history, each in the
// language in force at the moment it is asked for. What the module sent is quoted with its control
// characters written out.
namespace HistoryText {

// The window
QString windowTitle();
QString menuEntry();
// Column captions in the model's column order, and the kinds in the order of HistoryEvent::Kind.
QStringList headers();
QStringList kindNames();
QString filterPlaceholder();
QString copy();
QString selectAll();
QString saveAs();
QString csvFileFilter();
QString saveFailed(const QString &path, const QString &reason);
QString notAFile();
QString lineCount(int shown, int total);
QString dropped(qint64 count, int bound);
QString progressSearching();
// A QProgressBar format: %v the block in transfer, %m the number of blocks.
QString progressBlock();

// The curve
QString curveTimeAxis();
QString curveLevelAxis();
QString lastMinute();
QString wholeRun();
// min, average, max in dBm and the number of values; noLevels() when there are none.
QString levelSummary(int min, double average, int max, int count);
QString noLevels();

// The lines of the history
QString searching(const QString &port);
QString moduleFound(const QString &command);
QString versionAccepted(const QString &reply);
QString versionWrong(const QString &reply);
QString blockAcknowledged(int block, int blocks, const QString &reply);
QString blockWrong(int block, int blocks, const QString &reply, const QString &expected);
QString uploadDone();
QString noAnnouncement();
QString noReplyTo(const QString &command, int length);
QString blockNotAcknowledged(int block);
QString portOpenFailed(const QString &port, const QString &error);
QString portLost(const QString &port);
QString portBack(const QString &port);
QString stoppedByLeaving();
QString stoppedByPortChange();
QString smsAccepted(const QString &reply);
QString smsAnnounceWrong(const QString &reply);
QString smsHandedOver(const QString &number, const QString &text);
QString smsSent(const QString &reply);
QString smsNotSent(const QString &reply);
// A level message: the level in dBm, "unknown" for 99, off the scale for 32 … 98.
QString level(int level);

} // namespace HistoryText
