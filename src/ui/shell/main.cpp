// Mirelo: the library window and the viewer.

#include "AppDelegate.h"
#include "AppModel.h"
#include "AppSettings.h"
#include "CommandLine.h"
#include "images/ImageModule.h"
#include "LaunchTrace.h"
#include "SingleInstance.h"
#include "common/DesktopLook.h"
#include "ThumbnailStore.h"
#include "Translation.h"
#include "ViewerPipeline.h"

#include <QApplication>
#include <QIcon>

#include <cstdio>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    // The command line is read before Qt sees any of it: file names are
    // files, never Qt's options ("mirelo -- -reverse" opens "-reverse").
    const mirelo::CommandLine line = mirelo::CommandLine::parse(argc, argv);
    switch (line.action) {
    case mirelo::CommandLine::Action::help: std::fputs(mirelo::CommandLine::usage(), stdout); return 0;
    case mirelo::CommandLine::Action::version: std::printf("mirelo %s\n", MIRELO_VERSION); return 0;
    case mirelo::CommandLine::Action::usage:
        std::fprintf(stderr, "mirelo: %s\n%s", line.error.c_str(), mirelo::CommandLine::usage());
        return 2;
    case mirelo::CommandLine::Action::run: break;
    }
    std::vector<char*> qtArguments{argv[0]};
    std::vector<std::string> qtOptions = line.qtOptions;
    for (std::string& option : qtOptions) qtArguments.push_back(option.data());
    qtArguments.push_back(nullptr);
    int qtCount = int(qtArguments.size()) - 1;
    mirelo::ImageModule::prepareProcess();
    QApplication app(qtCount, qtArguments.data());
    QApplication::setApplicationName(QStringLiteral("Mirelo"));
    QApplication::setApplicationVersion(QStringLiteral(MIRELO_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("com.tessel.local.viewer"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/Mirelo.png")));
    const mirelo::Translations translations;
    // Closing the last window keeps Mirelo running.
    QApplication::setQuitOnLastWindowClosed(false);

    const std::vector<std::string>& files = line.paths;

    mirelo::LaunchTrace::installIfAsked();
    mirelo::SingleInstance instance;
    if (!instance.claim(files)) return 0;
    mirelo::AppDelegate::startFirstPicture(files);

    mirelo::DesktopLook::shared().apply(
        mirelo::AppSettings::open()->value(mirelo::AppSettings::kAppearance, QStringLiteral("system")).toString());
    mirelo::AppDelegate delegate(mirelo::AppModel::shared());
    delegate.willFinishLaunching();
    QObject::connect(&instance, &mirelo::SingleInstance::activated, &delegate, &mirelo::AppDelegate::reopen);
    QObject::connect(&instance, &mirelo::SingleInstance::filesOpened, &delegate, &mirelo::AppDelegate::openFiles);
    delegate.openFiles(files);
    delegate.didFinishLaunching(files.empty());
    QApplication::exec();
    // Nothing may still be decoding while the process ends.
    delegate.finishWork();
    mirelo::ViewerPipeline::shared().finishWork();
    mirelo::ThumbnailStore::shared().finishWork();
    return 0;
}
