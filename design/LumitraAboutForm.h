// The modal About box of the designer plugin: product, version and legal
// lines read from the plugin's own version record, beside the 48 x 48 clock
// bitmap. Its layout is the stored form TFormLumitraAbout.ui.
#pragma once

#include <QtWidgets/QDialog>
#include <memory>
#include <string>

class QFrame;
class QLabel;
class QPushButton;
class TVersionInfoProbe;

class TFormLumitraAbout : public QDialog
{
    Q_OBJECT

public:
    // The twelve version texts of the module that contains this class, read
    // once at construction; empty where the record or a key is missing.
    class TVersionInfo
    {
    public:
        static constexpr int ItemCount = 12;

        TVersionInfo();
        ~TVersionInfo();
        TVersionInfo(const TVersionInfo &) = delete;
        TVersionInfo &operator=(const TVersionInfo &) = delete;

        // Empty for an index outside 0..11, negative ones included.
        std::string GetItem(int Index) const;

    private:
        friend class ::TVersionInfoProbe;

        explicit TVersionInfo(const char *ModulePath);
        void Read(const char *ModulePath);
        std::string ReadItem(int Index) const;

        std::unique_ptr<char[]> FBuffer;
        std::string FItems[ItemCount];
    };

    TFormLumitraAbout();
    ~TFormLumitraAbout() override;

    // Shows the box modally; the result is the dialog's.
    int ShowModal();

    QLabel *ImageIcon = nullptr;
    QLabel *LabelProductName = nullptr;
    QLabel *LabelProductInfo = nullptr;
    QFrame *BevelBottomLine = nullptr;
    QPushButton *BitBtnOk = nullptr;

protected:
    void showEvent(QShowEvent *Event) override;

private:
    void CenterOnScreen();

    std::unique_ptr<TVersionInfo> FVersionInfo;
};
