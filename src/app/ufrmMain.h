#pragma once

#include "batch/TfrmMainParent.h"
#include "platform/Dialogs.h"
#include "watermark/Watermark.h"

#include <QIcon>
#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <memory>

class QAction;
class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QSlider;
class QToolBar;
class QToolButton;
class QWidget;
class TIniFile;
class TImageEnView;
class TfrmConsole;

// The main window: the program's hub. The frame (layout, menus, enabling, resizing, creation and
// destruction with the settings) lives in src/app/ufrmMain*.cpp; each subsystem adds the window's
// operations it owns in its own ufrmMain*.cpp, declared in its block below. Handlers are connected
// through ConnectGuarded / RunGuarded (app/ufrmMainApplication.h) so an error they raise is shown, not unwound
// through Qt.
class TfrmMain : public TfrmMainParent {
    Q_OBJECT
public:
    explicit TfrmMain(QWidget* parent = nullptr);
    ~TfrmMain() override;

    // ---- Controls (client coordinates of the central widget) ----
    QLabel* Label2 = nullptr;
    QLineEdit* txtVideoFileName = nullptr;
    QPushButton* btnOpen = nullptr;
    QLabel* Label1 = nullptr;

    QFrame* ParentVideoPanel = nullptr;
    QFrame* VideoPanel = nullptr;
    QWidget* VideoWindow = nullptr;  // black; the playback layer presents frames into it

    QFrame* pnlVideoControls = nullptr;
    QLabel* Label11 = nullptr;
    QSlider* tbVolume = nullptr;
    QLabel* Label10 = nullptr;
    QLabel* lblVideoDuration = nullptr;
    QLabel* Label12 = nullptr;
    QLabel* lblPosition = nullptr;
    QLabel* Label6 = nullptr;
    QLabel* lblWidth = nullptr;
    QLabel* Label7 = nullptr;
    QLabel* lblHeight = nullptr;
    QSlider* TrackBar1 = nullptr;     // decorative track behind the position slider
    QSlider* tbVideoSlider = nullptr;
    QLabel* Label3 = nullptr;
    QSlider* tbSeekAmount = nullptr;
    QToolBar* ToolBar = nullptr;
    QToolButton* btnPlay = nullptr;
    QToolButton* ToolButton3 = nullptr;  // start
    QToolButton* ToolButton2 = nullptr;  // end
    QLabel* Label8 = nullptr;
    QToolBar* ToolBar1 = nullptr;
    QToolButton* btnBack = nullptr;
    QToolButton* btnForward = nullptr;

    TImageEnView* ImageSnapshot = nullptr;
    TImageEnView* ImageThumb = nullptr;

    QFrame* pnlSnapshotControls = nullptr;
    QLabel* Label4 = nullptr;
    QLineEdit* txtThumbWidth = nullptr;
    QLabel* Label5 = nullptr;
    QLineEdit* txtThumbHeight = nullptr;
    QLabel* Label9 = nullptr;
    QComboBox* cmbResampleFilter = nullptr;
    QPushButton* btnSnapshot = nullptr;

    QFrame* pnlSaveControls = nullptr;
    QLabel* Label13 = nullptr;
    QSlider* tbJPEGQuality = nullptr;
    QLineEdit* txtJPEGQuality = nullptr;
    QLabel* Label14 = nullptr;
    QLabel* lblFileSize = nullptr;
    QCheckBox* ckbTrimthumb = nullptr;
    QCheckBox* ckbCropThumb = nullptr;
    QPushButton* btnSaveThumb = nullptr;

    // ---- Main menu ----
    QMenu* File1 = nullptr;
    QAction* Open1 = nullptr;
    QAction* Save1 = nullptr;
    QAction* Exit1 = nullptr;
    QMenu* Edit1 = nullptr;
    QAction* Skorrel1 = nullptr;
    QAction* CopySnapShot1 = nullptr;
    QAction* CopyFullFrame1 = nullptr;
    QMenu* Tools1 = nullptr;
    QAction* BatchMode1 = nullptr;
    QAction* Watermark1 = nullptr;
    QAction* ChangeVideoMode1 = nullptr;
    QAction* ShowFilters1 = nullptr;
    QAction* ShowFilterTree1 = nullptr;
    QMenu* Help1 = nullptr;
    QAction* OnlineSupport1 = nullptr;
    QAction* About1 = nullptr;

    // ---- Non-visual parts ----
    // Tool-bar glyphs by index: 0 start, 2 pause, 3 play, 6 end, 9 skip back, 10 skip forward.
    QList<QIcon> ImageList1;
    platform::FileDialogOptions OpenDialog;   // initialDir is the InitialDir setting
    platform::FileDialogOptions SaveDialog1;

    // ---- State ----
    bool VideoOpen = false;
    bool DvdMode = false;
    uint8_t VideoMode = 0;  // 0 not chosen, 1 standard, 2 standard + colour converter, 3 mixing renderer
    bool ShowRenderMessage = true;
    int32_t VideoWidth = 0;   // 0 or less: unknown
    int32_t VideoHeight = 0;
    TIniFile* IniFile = nullptr;  // open from creation to destruction; lent to the batch dialog and the editor

    // Whether the mixing renderer (video mode 3) can be created. The playback layer answers;
    // tests replace it. Read once, at creation.
    static bool (*MixingRendererAvailable)();

    // ---- Command enabling ----
    // Opening a video moves to "video open" (true); closing returns every command to "no video".
    // Either way the snapshot state is reset.
    void SetVideoOpen(bool open);
    // The snapshot state: enables "&Save", "&Copy Snapshot" and btnSaveThumb; false clears ImageSnapshot.
    bool SnapshotAvailable = false;
    void SetSnapshotAvailable(bool available);

    // ---- Thumbnail settings read from the edit boxes (each writes the clamped value back) ----
    int GetThumbWidth();   // 10 .. 2 x VideoWidth; VideoWidth / 2 when the box holds no integer
    int GetThumbHeight();  // 10 .. 2 x VideoHeight; VideoHeight / 2 when the box holds no integer
    int GetJPEGQuality();  // 1 .. 100; 90 when the box holds no integer

    // ---- Menu handlers of the frame ----
    void Exit1Click();  // also the close box
    void OnlineSupport1Click();
    void BatchMode1Click();
    void Watermark1Click();
    void ChangeVideoMode1Click();
    void ShowFilters1Click();
    void ShowFilterTree1Click();
    void About1Click();

    // =============================================================================================
    // Opening and transport (src/media/ufrmMain*.cpp)
    // =============================================================================================
    // Connects this block's controls (btnOpen, transport buttons, sliders, volume) to their handlers;
    // the constructor calls it once, before the settings are applied.
    void ConnectOpeningAndTransport();

    // =============================================================================================
    // Frame grab and thumbnail output (src/thumbs/ufrmMain*.cpp)
    // =============================================================================================
    // Connects btnSnapshot, btnSaveThumb, the JPEG quality controls, "&Copy Snapshot" and
    // "Copy Full Frame" to their handlers; the constructor calls it once, before the settings are
    // applied (so the JPEG quality box follows the remembered slider position).
    void ConnectFrameGrabAndOutput();
    // The last grabbed frame at the video's own size; 24 bits per pixel after TakeSnapshot.
    QImage FullFrame;
    // Fills `bitmap` with the frame on screen: the mixing renderer's current image in video mode 3,
    // the sample grabber's last sample otherwise. False (reported) when nothing could be grabbed.
    bool GrabFrame(QImage& bitmap);
    bool TakeSnapshot() override;
    void btnSnapshotClick();
    // Shapes FullFrame into the box, merges the watermark and writes a JPEG, whatever the extension.
    bool SaveThumb(const QString& fileName) override;
    void btnSaveThumbClick();
    void tbJPEGQualityChange();
    void txtJPEGQualityExit();
    void CopySnapShot1Click();
    void CopyFullFrame1Click();

    // =============================================================================================
    // Thumbnail shaping (src/thumbs/ufrmMainShaping.cpp)
    // =============================================================================================
    // Connects txtThumbWidth, txtThumbHeight and cmbResampleFilter to their handlers; the constructor
    // calls it once, before the remembered filter is selected, so connect the filter handler to
    // currentIndexChanged and that selection runs it.
    void ConnectThumbnailShaping();
    // The filter the next snapshot and save use, 0..11 (TResampleFilter); 0 until the list first selects.
    int CurrentResampleFilter = 0;
    void cmbResampleFilterClick();  // the list's text, matched exactly, picks the filter
    void txtThumbWidthExit();       // with a video open, the box shows the clamped width
    void txtThumbHeightExit();

    // =============================================================================================
    // Watermark (src/watermark/ufrmMainWatermark.cpp)
    // =============================================================================================
    // The user's watermark: read from the settings file at creation (before the video mode), its
    // View the snapshot view; written back at destruction.
    std::unique_ptr<TWatermark> UserWatermark;

    // =============================================================================================
    // Batch (TfrmMainParent operations; src/batch/ufrmMain*.cpp)
    // =============================================================================================
    // The opening and transport operations the batch worker drives, handed to the playback; opening
    // holds the first frame so the batch positions are exact.
    bool OpenVideoFile(const QString& fileName) override;
    int SkipMilliseconds(int64_t distanceMs, int64_t endMarginMs) override;
    void SkipFrames(int32_t frames) override;
    int64_t GetDuration() override;
    void PreviousChapter() override;

    // The progress console the batch runs go through; created by the program entry after this window.
    TfrmConsole* frmConsole = nullptr;
    // The program's arguments (without its path), handed over by the program entry; empty in tests.
    QStringList CommandLineArguments;
    // On activation: with arguments on the command line, runs their one batch and ends the program
    // with its exit status. A batch runs at most once per start.
    void FormActivate();
    // The command-line batch over `args` (without the program path). Returns the exit status:
    // 0 run without an error line, 1 with one or more, 2 no run (the reason on standard error).
    int RunCommandLine(const QStringList& args);
    bool CommandLineStarted = false;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void QueueFormActivate();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Layout (ufrmMainLayout.cpp)
    void CreateControls();
    void CreateVideoArea(QWidget* client);
    void CreateVideoControls(QWidget* client);
    void CreateSnapshotControls(QWidget* client);
    void CreateSaveControls(QWidget* client);
    void CreateGlyphs();
    void CreateMenus();
    void CreateDialogOptions();

    // Creation and destruction steps (ufrmMain.cpp); the seams later subsystems fill come first
    bool RunStartupChecks();
    void ConnectFrameControls();
    void CreateWatermark();
    void AttachWatermark();
    void ReleasePlayback();
    void FillResampleFilters();
    void ReadSetupSettings();
    void ReadWindowSize();
    void ReadVideoMode();
    void SelectRememberedFilter();
    void WriteSettings();
    void WriteSetupSettings();
    void WriteWatermarkSettings();
    void WriteWindowSettings();

    // Resizing
    QWidget* clientArea() const;
    QSize nonClientSize() const;
    void FormConstrainedResize();
    void FormResize();

    QString RememberedResampleFilter;
};
