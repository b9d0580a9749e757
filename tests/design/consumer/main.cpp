// Builds the form from its generated code and checks the clock on it.
#include "ui_ConsumerForm.h"

#include <QtGui/QImage>
#include <QtWidgets/QApplication>
#include <cstdio>

int main(int argc, char **argv)
{
    QApplication App(argc, argv);
    QWidget Form;
    Ui::ConsumerForm Ui;
    Ui.setupUi(&Form);
    TLumitra *Clock = Ui.Clock;
    const bool Ok = Clock->ClockStyle() == TLumitra::csTwistedClock && Clock->ClockRadius() == 30
                    && Clock->property("About").toInt() == 256 && Clock->size() == QSize(128, 128);
    QImage Frame(Clock->size(), QImage::Format_RGB32);
    Clock->RenderTo(&Frame);
    std::printf("lumitra-consumer: %s\n", Ok ? "ok" : "unexpected property values");
    return Ok ? 0 : 1;
}
