#pragma once

#include <QDialog>
#include <cstdint>

class QFrame;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

// The video mode dialog: standard renderer (1), standard renderer with the colour space converter
// (2) or the mixing renderer (3). Created once; its radio buttons keep their state between showings.
class TfrmVideoMode : public QDialog {
    Q_OBJECT
public:
    explicit TfrmVideoMode(QWidget* parent = nullptr);

    // Prepares the choices from `videoMode` (a mode of 3 becomes 1 when the mixing renderer is not
    // available) and shows the dialog modally; OK writes the choice back into `videoMode`.
    void SelectVideoMode(bool vmr9Available, uint8_t& videoMode);
    void btnOKClick();

    QFrame* Bevel1 = nullptr;
    QPlainTextEdit* Memo3 = nullptr;
    QRadioButton* rbStandard = nullptr;
    QLabel* Label1 = nullptr;
    QRadioButton* rbColorSpaceConverter = nullptr;
    QFrame* Panel2 = nullptr;
    QPlainTextEdit* Memo1 = nullptr;
    QRadioButton* rbVMR = nullptr;
    QFrame* Panel1 = nullptr;
    QPlainTextEdit* Memo2 = nullptr;
    QPushButton* btnOK = nullptr;
    QPushButton* btnCancel = nullptr;

private:
    QPlainTextEdit* addMemo(QWidget* parent, const QRect& geometry, const QStringList& lines);
    void centreOnScreen();

    uint8_t* videoMode_ = nullptr;
};
