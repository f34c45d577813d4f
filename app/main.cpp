// zuvedit [FILE]: the editor, opening FILE when one is given.
#include "app/ZuvEditor.h"
#include "platform/TApplication.h"

#include <QApplication>
#include <QGuiApplication>
#include <QIcon>

#include <memory>

namespace {

// The arguments after the program name, as bytes; Qt has taken its own out.
TStringList Arguments(int argc, char** argv) {
    TStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.Add(argv[i]);
    return arguments;
}

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QGuiApplication::setDesktopFileName(QStringLiteral("zuvedit"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/zuvedit/zuvedit.png")));
    Application->Initialize();
    try {
        const auto editor = std::make_unique<ZuvEditor>(Arguments(argc, argv));
        Application->Run();
    } catch (const Exception& exception) {
        Application->ShowException(exception);
    }
    return 0;
}
