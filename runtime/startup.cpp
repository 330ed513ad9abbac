#include "startup.h"

#include "qt_form.h"

#include <QApplication>
#include <QFont>
#include <QFontDatabase>
#include <QLibraryInfo>
#include <QTranslator>

namespace lumasio::runtime {

using namespace Qt::StringLiterals;

namespace {

// The form's face. Windows has it; elsewhere Qt would fall back to whatever
// CJK face comes first, often a Japanese sans.
constexpr QStringView SongFace = u"宋体";

// Song-style Simplified-Chinese faces, closest first.
constexpr QStringView SongSubstitutes[] = {
    u"SimSun", u"NSimSun", u"Songti SC", u"Noto Serif CJK SC", u"AR PL UMing CN",
};

void substituteSongFace()
{
    // One look at the list of installed families: hasFamily() would also
    // ask fontconfig to resolve each name as an alias, a costly detour at
    // start-up.
    const QStringList installed = QFontDatabase::families();
    if (installed.contains(SongFace)) {
        return;
    }
    QStringList substitutes;
    for (const QStringView face : SongSubstitutes) {
        if (installed.contains(face)) {
            substitutes.append(face.toString());
        }
    }
    if (substitutes.isEmpty()) {
        const QStringList chinese = QFontDatabase::families(QFontDatabase::SimplifiedChinese);
        if (!chinese.isEmpty()) {
            substitutes.append(chinese.front());
        }
    }
    QFont::insertSubstitutions(SongFace.toString(), substitutes);
}

void loadChineseQtTexts(QCoreApplication &app)
{
    auto *translator = new QTranslator(&app);
    if (translator->load(QLocale(QLocale::Chinese, QLocale::China), u"qtbase"_s, u"_"_s,
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(translator);
    } else {
        delete translator;
    }
}

} // namespace

void prepareApplication(const ProjectDescription &project)
{
    QApplication::setApplicationName(project.name.toString());
    QApplication::setApplicationVersion(project.version.toString());
    QGuiApplication::setDesktopFileName(project.desktopFileName.toString());
    if (QCoreApplication *app = QCoreApplication::instance()) {
        loadChineseQtTexts(*app);
    }
    substituteSongFace();
}

int startUp(const ProjectDescription &project, int &argc, char **argv, const ShownHook &onShown)
{
    QApplication app(argc, argv);
    prepareApplication(project);
    if (project.startupForm == nullptr) {
        return 1;
    }
    QtForm form(*project.startupForm);
    form.window()->show();
    if (onShown) {
        onShown(form.window());
    }
    return QApplication::exec();
}

} // namespace lumasio::runtime
