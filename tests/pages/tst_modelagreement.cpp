#include "core/appsetup.h"
#include "core/configfields.h"
#include "core/configuration.h"
#include "core/parameterrecord.h"
#include "core/configurationmodel.h"
#include "pages/frm1.h"
#include "pages/frm2.h"
#include "pages/frm3.h"
#include "pages/frm4.h"
#include "pages/frm5.h"
#include "pages/frm6.h"
#include "pages/frm7.h"
#include "pages/frm9.h"
#include "pages/pagewindow.h"
#include "shell/windowcatalog.h"
#include "support/randomsettings.h"
#include "window/settingsfile.h"
#include "window/windowregistry.h"

#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

// The configuration a settings file gives is the same whether the pages load it into their controls or the
// model takes it without any window: every value, whether a control takes input, and the record.
namespace {

int seedCount()
{
    bool ok = false;
    const int count = qEnvironmentVariableIntValue("RM425T_MODEL_SEEDS", &ok);
    return ok && count > 0 ? count : 400;
}

struct PageState
{
    IniDocument document;
    QHash<QString, bool> enabled; // by settings key
    QString record;
};

// New pages take the document through their controls and their handlers, page by page as a load does; only
// the general settings page's values reach the configuration, from its controls, for the targets the other
// pages read.
PageState loadIntoPages(const IniDocument &document)
{
    WindowRegistry::instance().reset();
    const QList<PageWindow *> pages
        = { new Frm1, new Frm2, new Frm3, new Frm4, new Frm5, new Frm6, new Frm7, new Frm9 };
    for (PageWindow *page : pages) {
        page->loadConfiguration(document);
        if (page->formName() == u"frm1")
            bindToConfiguration(page);
    }
    PageState state;
    state.document = documentOfWindows(QList<FormWindow *>(pages.cbegin(), pages.cend()));
    for (FormWindow *page : pages) {
        for (const ControlRef &ref : page->controls()) {
            if (ref.widget && ref.kind != ControlKind::Other)
                state.enabled.insert(page->formName() + u'/' + ref.key(), !ref.widget->testAttribute(Qt::WA_Disabled));
        }
    }
    Configuration shown;
    for (PageWindow *page : pages) {
        for (const ControlRef &ref : page->controls()) {
            const int field = configurationFieldIndex(page->formName(), ref.key());
            if (field >= 0)
                shown.setStoredValue(field, state.document.value(page->formName(), ref.key()).value_or(QString()));
        }
    }
    state.record = BuildParameterRecord(shown);
    qDeleteAll(pages);
    return state;
}

QStringList differences(const PageState &pages, const Configuration &model)
{
    QStringList found;
    for (size_t i = 0; i < configurationFields().size(); ++i) {
        const ConfigField &field = configurationFields()[i];
        const QString section = QString::fromUtf16(field.section);
        const QString inPages = pages.document.value(section, field.key()).value_or(QString());
        const QString inModel = model.value(int(i));
        if (inPages != inModel)
            found << u"%1 = \"%2\" in the pages, \"%3\" in the model"_s.arg(field.settingsKey(), inPages, inModel);
        const bool enabled = pages.enabled.value(field.settingsKey());
        if (enabled != model.isEnabled(int(i)))
            found << u"%1 %2 in the pages"_s.arg(field.settingsKey(), enabled ? u"enabled"_s : u"disabled"_s);
    }
    return found;
}

} // namespace

class tst_ModelAgreement : public QObject
{
    Q_OBJECT

private slots:
    void randomFiles();
};

void tst_ModelAgreement::randomFiles()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    AppSetup::setUpApplication({ dir.path() });
    int failures = 0;
    for (int seed = 0; seed < seedCount(); ++seed) {
        const IniDocument document = seed == 0 ? IniDocument() : randomSettings(quint32(seed));
        const PageState pages = loadIntoPages(document);
        const Configuration model = Configuration::fromDocument(document);
        const QStringList found = differences(pages, model);
        if (!found.isEmpty() || pages.record != BuildParameterRecord(model)) {
            ++failures;
            if (failures <= 5)
                qWarning().noquote() << "seed" << seed << ":\n  " << found.join(u"\n   "_s)
                                     << (pages.record != BuildParameterRecord(model) ? "\n   record differs" : "");
        }
        QCOMPARE(model.toDocument().toBytes(), model.toDocument().toBytes());
    }
    WindowRegistry::instance().reset();
    AppSetup::setUpApplication();
    QCOMPARE(failures, 0);
}

QTEST_MAIN(tst_ModelAgreement)
#include "tst_modelagreement.moc"
