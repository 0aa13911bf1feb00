#include "core/appsetup.h"
#include "core/configfields.h"
#include "core/configuration.h"
#include "core/parameterrecord.h"
#include "core/configurationmodel.h"
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
    return ok && count > 0 ? count : 150;
}

struct PageState
{
    IniDocument document;
    QHash<QString, bool> enabled; // by settings key
    QString record;
};

// New pages take the document through their controls and their handlers, page by page as a load does; the
// configuration only follows what the controls then hold.
PageState loadIntoPages(const IniDocument &document)
{
    WindowRegistry::instance().reset();
    registerProgramWindows();
    QList<FormWindow *> pages;
    for (const QString &name : configurationSections()) {
        auto *page = static_cast<PageWindow *>(WindowRegistry::instance().window(name));
        page->loadConfiguration(document);
        pages.append(page);
    }
    PageState state;
    state.document = documentOfWindows(pages);
    for (FormWindow *page : pages) {
        for (const ControlRef &ref : page->controls()) {
            if (ref.widget && ref.kind != ControlKind::Other)
                state.enabled.insert(page->formName() + u'/' + ref.key(), !ref.widget->testAttribute(Qt::WA_Disabled));
        }
    }
    state.record = BuildParameterRecord(ConfigurationModel::program().configuration());
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
