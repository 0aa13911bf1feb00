#include "window/startwarmup.h"

#include <QApplication>
#include <QFontDatabase>
#include <QTest>

using namespace Qt::StringLiterals;

class tst_StartWarmUp : public QObject
{
    Q_OBJECT

private slots:
    void picturesAreThoseOfTheirFiles();
    void warmUpEndsWhateverItWasTold_data();
    void warmUpEndsWhateverItWasTold();
};

// Decoded on the loader's thread, each picture is the one QPixmap reads from its file; what cannot be read
// is a null pixmap, as QPixmap(path) gives.
void tst_StartWarmUp::picturesAreThoseOfTheirFiles()
{
    const QStringList paths { u":/images/logo.png"_s, u":/images/no-such-picture.png"_s, u":/images/module.png"_s,
        u":/images/hand.png"_s };
    PictureLoader loader(paths);
    for (int i = 0; i < paths.size(); ++i) {
        const QImage expected = QPixmap(paths.at(i)).toImage();
        const QImage got = loader.pixmap(i).toImage();
        QCOMPARE(got.isNull(), paths.at(i).contains(u"no-such"_s));
        QCOMPARE(got, expected);
    }
    QVERIFY(loader.pixmap(int(paths.size())).isNull());
    QVERIFY(loader.pixmap(-1).isNull());
}

void tst_StartWarmUp::warmUpEndsWhateverItWasTold_data()
{
    QTest::addColumn<bool>("applicationCreated");
    QTest::addColumn<bool>("waited");
    QTest::newRow("told, waited for") << true << true;
    QTest::newRow("never told, waited for") << false << true;
    QTest::newRow("never told, only dropped") << false << false;
}

// A start that ends early (a refused option) drops the warm-up without telling it of the application: it
// must end then, not wait for an application object that is not coming or use one that is gone.
void tst_StartWarmUp::warmUpEndsWhateverItWasTold()
{
    QFETCH(bool, applicationCreated);
    QFETCH(bool, waited);
    {
        FontConfigurationWarmUp warmUp;
        if (applicationCreated)
            warmUp.applicationCreated();
        if (waited)
            warmUp.wait();
        // Telling it twice, or after the wait, changes nothing.
        warmUp.applicationCreated();
    }
    // Fonts keep working whichever thread filled the database.
    QVERIFY(!QFontDatabase::families().isEmpty());
    QVERIFY(QFontMetrics(QApplication::font()).height() > 0);
}

QTEST_MAIN(tst_StartWarmUp)
#include "tst_startwarmup.moc"
