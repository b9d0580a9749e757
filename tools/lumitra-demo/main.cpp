// lumitra-demo: a window with a running clock.
#include "Lumitra.h"

#include <QtWidgets/QApplication>
#include <QtWidgets/QVBoxLayout>
#include <cstdio>
#include <cstring>

int main(int argc, char **argv)
{
    for (int I = 1; I < argc; ++I) {
        if (std::strcmp(argv[I], "--help") == 0 || std::strcmp(argv[I], "-h") == 0) {
            std::printf("Usage: lumitra-demo\nShows a window with a running Lumitra clock.\n");
            return 0;
        }
    }
    QApplication App(argc, argv);
    QWidget Window;
    Window.setWindowTitle(QStringLiteral("Lumitra demo"));
    auto *Layout = new QVBoxLayout(&Window);
    auto *Clock = new TLumitra(&Window);
    Clock->setMinimumSize(256, 256);
    Layout->addWidget(Clock);
    Clock->SetActive(true);
    Window.show();
    return App.exec();
}
