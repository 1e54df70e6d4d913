#include "app/app_fixture.h"

#include <QAction>
#include <QDir>
#include <QFile>

namespace tunara::test {

namespace {

void copyTree(const QString &from, const QString &to)
{
    const QFileInfo info(from);
    if (info.isDir()) {
        QDir().mkpath(to);
        for (const QString &entry : QDir(from).entryList(QDir::AllEntries | QDir::NoDotAndDotDot))
            copyTree(from + u'/' + entry, to + u'/' + entry);
    } else {
        QFile::remove(to);
        ASSERT_TRUE(QFile::copy(from, to)) << from.toStdString();
    }
}

}  // namespace

void AppTest::SetUp()
{
    ASSERT_TRUE(m_dir.isValid());
    m_savedCwd = QDir::currentPath();
    QDir().mkpath(programFolder());
    settings = std::make_unique<StoredSettings>(StoredSettings::atFile(m_dir.path() + QStringLiteral("/settings.ini")));
}

void AppTest::TearDown()
{
    window.reset();
    QDir::setCurrent(m_savedCwd);
}

QString AppTest::programFile(const QString &name) const
{
    return programFolder() + u'/' + name;
}

void AppTest::install(const QString &name)
{
    copyTree(QStringLiteral(TUNARA_RESOURCES_DIR "/") + name, programFile(name));
}

void AppTest::installAll()
{
    for (const QString &entry : QDir(QStringLiteral(TUNARA_RESOURCES_DIR)).entryList(QDir::AllEntries | QDir::NoDotAndDotDot))
        install(entry);
}

void AppTest::writeProgramFile(const QString &name, const QByteArray &content)
{
    QFile f(programFile(name));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(content);
}

void AppTest::removeProgramFile(const QString &name)
{
    QFile::remove(programFile(name));
}

ui::frmTunara_Main &AppTest::makeWindow(const QStringList &companyInfo)
{
    config::CompanyConfig company = config::defaults();
    company.CompanyInfo = companyInfo;
    ui::MainWindowContext ctx{ui, held.ready(), *settings, port, programFolder(), company,
                              [](int n) { return QStringLiteral("device of Com%1").arg(n); },
                              m_dir.path() + QStringLiteral("/restore-points"), &clock};
    window = std::make_unique<ui::frmTunara_Main>(ctx);
    return *window;
}

ui::frmTunara_Main &AppTest::loadWindow(const QStringList &companyInfo)
{
    makeWindow(companyInfo).Form_Load();
    return *window;
}

void AppTest::choose(QAction *item)
{
    EXPECT_TRUE(item->isEnabled()) << item->objectName().toStdString() << " is disabled";
    item->trigger();
}

}  // namespace tunara::test
