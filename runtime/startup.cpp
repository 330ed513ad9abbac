#include "startup.h"

#include "list_theme_guard.h"
#include "whole_pixel_frames.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QFont>
#include <QFontDatabase>
#include <QLibraryInfo>
#include <QLoggingCategory>
#include <QProxyStyle>
#include <QStyle>
#include <QStyleFactory>
#include <QTimer>
#include <QTranslator>

namespace lumasio::runtime {

using namespace Qt::StringLiterals;

namespace {

Q_LOGGING_CATEGORY(lcStartup, "lumasio.startup")
// How long each step of the start-up takes, off unless asked for:
// QT_LOGGING_RULES=lumasio.startup.steps.debug=true (under Wine, in the
// prefix's user environment, as Wine hands no QT_* variable on).
Q_LOGGING_CATEGORY(lcStartupSteps, "lumasio.startup.steps", QtWarningMsg)

// Logs the time since the last step and starts the next.
void endStep(const char *step)
{
    static QElapsedTimer clock;
    if (lcStartupSteps().isDebugEnabled() && clock.isValid()) {
        qCDebug(lcStartupSteps, "%-24s %7.2f ms", step, double(clock.nsecsElapsed()) / 1e6);
    }
    clock.start();
}

// Ends the last step at the window's first frame: the paint of the window,
// its controls with it, is done when the zero timer runs.
class FirstFrameStep : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            QTimer::singleShot(0, this, [this] {
                endStep("first frame");
                deleteLater();
            });
        }
        return QObject::eventFilter(watched, event);
    }
};

// The window's face. Windows has it; elsewhere Qt would fall back to whatever
// CJK face comes first, often a Japanese sans.
constexpr QStringView SongFace = u"宋体";

constexpr QLatin1StringView ClassicWindowsStyle("windowsvista");

void substituteSongFace()
{
    // One look at the list of installed families: hasFamily() would also
    // ask fontconfig to resolve each name as an alias, a costly detour at
    // start-up.
    const QStringList installed = QFontDatabase::families();
    if (installed.contains(SongFace)) {
        return;
    }
    // Song-style Simplified-Chinese faces, closest first.
    QStringList substitutes{u"SimSun"_s, u"NSimSun"_s, u"Songti SC"_s, u"Noto Serif CJK SC"_s,
                            u"AR PL UMing CN"_s};
    substitutes.removeIf([&](const QString &face) { return !installed.contains(face); });
    if (substitutes.isEmpty()) {
        qCWarning(lcStartup) << "No Song-style face is installed; Chinese text falls back to"
                             << "another Simplified-Chinese face";
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
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (translator->load(QLocale(QLocale::Chinese, QLocale::China), u"qtbase"_s, u"_"_s, folder)) {
        QCoreApplication::installTranslator(translator);
    } else {
        qCWarning(lcStartup) << "No Chinese Qt texts in" << folder
                             << "; dialog buttons read in English";
        delete translator;
    }
}

// Forms are laid out for Windows' classic look, which Windows 10 gives them.
// On Windows 11 Qt would pick its Windows 11 style, whose boxes, buttons and
// arrows have other sizes and shapes, so forms keep the classic look there
// too. Drawn by it, frames stay whole at any scaling through WholePixelFrames,
// which wraps the classic style itself: one step, so no later choice of style
// can drop the proxy. Elsewhere Qt's choice stands.
void chooseStyle()
{
    const QString name = QApplication::style()->name();
    if (name.compare(u"windows11"_s, Qt::CaseInsensitive) != 0
        && name.compare(ClassicWindowsStyle, Qt::CaseInsensitive) != 0) {
        return;
    }
    if (QStyle *classic = QStyleFactory::create(ClassicWindowsStyle)) {
        QApplication::setStyle(new WholePixelFrames(classic));
#ifdef Q_OS_WIN
        guardListTheme();
#endif
    }
}

} // namespace

void prepareApplication(const Application &application)
{
    QApplication::setApplicationName(application.name.toString());
    QApplication::setApplicationVersion(application.version.toString());
    QGuiApplication::setDesktopFileName(application.desktopFileName.toString());
    endStep("application");
    loadChineseQtTexts(*QCoreApplication::instance());
    endStep("Qt's Chinese texts");
    substituteSongFace();
    endStep("the Song face");
    chooseStyle();
    endStep("the style");
}

int startUp(const Application &application, int &argc, char **argv,
            std::unique_ptr<QWidget> (&createWindow)())
{
    endStep("");
    QApplication app(argc, argv);
    endStep("QApplication");
    prepareApplication(application);
    const std::unique_ptr<QWidget> window = createWindow();
    endStep("the window built");
    if (lcStartupSteps().isDebugEnabled()) {
        window->installEventFilter(new FirstFrameStep(window.get()));
    }
    window->show();
    endStep("the window shown");
    return QApplication::exec();
}

const QStyle *drawingStyle(const QStyle *style)
{
    while (const auto *proxy = qobject_cast<const QProxyStyle *>(style)) {
        style = proxy->baseStyle();
    }
    return style;
}

void showButtonColour(QAbstractButton *button)
{
    // Fusion draws the palette's button colour; so does the rest of the
    // window's style when it is Fusion already.
    if (drawingStyle(QApplication::style())->inherits("QFusionStyle")) {
        return;
    }
    if (QStyle *fusion = QStyleFactory::create(u"Fusion"_s)) {
        fusion->setParent(button);
        button->setStyle(fusion);
    }
}

} // namespace lumasio::runtime
