// Mirelo: the library window and the viewer.

#include "AppDelegate.h"
#include "LaunchTrace.h"
#include "AppModel.h"
#include "AppSettings.h"
#include "SingleInstance.h"
#include "common/DesktopLook.h"
#include "ThumbnailStore.h"
#include "ViewerPipeline.h"
#include "viewer/ViewerCoordinator.h"

#include <QApplication>
#include <QFileInfo>
#include <QIcon>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Mirelo"));
    QApplication::setApplicationVersion(QStringLiteral(MIRELO_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("com.tessel.local.viewer"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/Mirelo.png")));
    // Closing the last window keeps Mirelo running.
    QApplication::setQuitOnLastWindowClosed(false);

    QStringList files;
    for (const QString& argument : QApplication::arguments().mid(1))
        if (!argument.startsWith(QLatin1Char('-'))) files << QFileInfo(argument).absoluteFilePath();

    mirelo::LaunchTrace::installIfAsked();
    mirelo::SingleInstance instance;
    if (!instance.claim(files)) return 0;

    mirelo::DesktopLook::shared().apply(
        mirelo::AppSettings::open()->value(mirelo::AppSettings::kAppearance, QStringLiteral("system")).toString());
    mirelo::AppDelegate delegate(mirelo::AppModel::shared());
    delegate.willFinishLaunching();
    QObject::connect(&instance, &mirelo::SingleInstance::activated, &delegate, &mirelo::AppDelegate::reopen);
    QObject::connect(&instance, &mirelo::SingleInstance::filesOpened, &delegate, &mirelo::AppDelegate::openFiles);
    delegate.openFiles(files);
    delegate.didFinishLaunching(files.isEmpty());
    QApplication::exec();
    // Nothing may still be decoding while the process ends.
    mirelo::ViewerCoordinator::shared().finishWork();
    mirelo::ViewerPipeline::shared().finishWork();
    mirelo::ThumbnailStore::shared().finishWork();
    return 0;
}
