// Closes every modal dialog shortly after it opens and remembers what it
// showed, so the About box can be driven headlessly.
#pragma once

#include <QtCore/QPointer>
#include <QtCore/QTimer>
#include <QtWidgets/QApplication>
#include <QtWidgets/QDialog>
#include <QtWidgets/QLabel>
#include <vector>

class TModalCloser : public QObject
{
public:
    struct TSeen
    {
        QString ClassName;
        QString Title;
        QString ProductName;
        QString ProductInfo;
        QPointer<QWidget> Widget;
    };

    TModalCloser()
    {
        connect(&FTimer, &QTimer::timeout, this, [this] {
            QWidget *W = QApplication::activeModalWidget();
            if (!W)
                return;
            TSeen S;
            S.ClassName = QString::fromLatin1(W->metaObject()->className());
            S.Title = W->windowTitle();
            if (auto *L = W->findChild<QLabel *>(QStringLiteral("LabelProductName")))
                S.ProductName = L->text();
            if (auto *L = W->findChild<QLabel *>(QStringLiteral("LabelProductInfo")))
                S.ProductInfo = L->text();
            S.Widget = W;
            Seen.push_back(S);
            if (auto *D = qobject_cast<QDialog *>(W))
                D->accept();
            else
                W->close();
        });
        FTimer.start(10);
    }

    std::vector<TSeen> Seen;

private:
    QTimer FTimer;
};
