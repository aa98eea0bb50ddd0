// The main window of Corvista: it owns the program's data and every control, and holds the
// event handlers. Its layout is the control table of MainLayout.cpp; this file declares the
// controls the handlers use by name, the handlers, and the start-up of the program.
#pragma once

#include "Bitmap.h"
#include "Controls.h"
#include "ProfileAnalysis.h"
#include "ProgramData.h"

#include <QAction>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QMainWindow>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>

#include <memory>
#include <vector>

class TAboutBox;

class TSDIAppForm : public QMainWindow {
    Q_OBJECT

public:
    // The size of the client area below the menu bar.
    static constexpr int ClientWidth = 942;
    static constexpr int ClientHeight = 705;

    explicit TSDIAppForm(QWidget *parent = nullptr);
    ~TSDIAppForm() override;

    ProgramData &data() { return *data_; }
    ViewState &view() { return data_->view; }

    // Any control or menu item of the window by its name.
    template <class T = QObject> T *control(const QString &name) const { return findChild<T *>(name); }

    // Makes the study controls visible; called after the first successful load.
    void RevealControls();

    // Draws the colour bar into a bitmap of Image2's size in the mode of the count-window bars
    // (the count scale also fills the colour table) and sets the captions above and below it.
    void DrawColourBar(Bitmap &bitmap);

    // Analyses the selected slice with the ROI and thresholds of the scroll bars; the ROI
    // radius becomes the position of ScrollBarD.
    void AnalyseProfiles();
    // The analysis inputs the bars and the view state stand for.
    AnalysisInputs analysisInputs() const;

    // Has the window repaint its invalidated areas at once.
    void repaintPending();

    // Moves ProgressBar1 to `value`. The bar paints itself at once on every change, which
    // costs more than a step of the work it follows when that is quick; it is painted at most
    // once a screen frame (16 ms), and the last value is painted with the next repaint.
    void setProgress(int value);

    // --- Drawing routines: each draws its whole image into a bitmap of that image's size ------
    void DrawMontage(Bitmap &bitmap);       // Image1 in the montage displays
    // Image3; from `plane` (column by column, as a PlaneSet keeps it) instead of the volume's
    // plane of the selected slice and phase when one is given.
    void DrawDetailImage(Bitmap &bitmap, const int16_t *plane = nullptr);
    void DrawCentreMarkerX(Bitmap &bitmap); // Image4
    void DrawCentreMarkerY(Bitmap &bitmap); // Image5
    // Image1 in map display, from the current results (the bull's-eye kinds analyse the
    // slices themselves and leave the results describing the selected slice).
    void DrawMapPanel(Bitmap &bitmap);
    // The 16 BI panels a cine loop plays, frame k for MapPhase k, into bitmaps of Image1's size.
    void DrawBullseyeFrames(std::vector<Bitmap> &frames);

    // --- Redraw entry points ---------------------------------------------------------------
    void RefreshMainImages();    // Image1 (montage or map panel) and Image3
    void RefreshDetail();        // Image3, and in map display the analysis and Image1
    void RefreshCentreMarkers(); // Image4 and Image5
    void RefreshMapPanel();      // Image1 from the map panel alone, without analysing

    // Swaps the count-window bars between their count and percent settings.
    void ApplyMapScales();

    // The system's menu colour (COLOR_MENU): the palette's window colour, read once.
    uint32_t colorMenu() const { return colorMenu_; }

    // The ROI centre in volume pixels, from the centre bars.
    int roiCentreX() const;
    int roiCentreY() const;

    // Opens the study set that `path` belongs to: reads it, sets the count-window bars, draws
    // every view, analyses and reveals the controls. A set that cannot be read is reported in
    // a message box and leaves everything as it was. Returns whether the study was opened.
    bool OpenStudy(const QString &path);
    // Writes the results file of the chosen variant to `path`; a file that cannot be written
    // is reported in a message box and leaves an existing file as it was.
    bool SaveResults(const QString &path);

    // The application's current hint text, which ShowHint puts in the status bar.
    const QString &applicationHint() const { return applicationHint_; }

    // --- Handlers of the window itself -----------------------------------------------------
    void FormCreate(QObject *Sender);
    void FormDestroy(QObject *Sender);
    void ShowHint(QObject *Sender);
    void ExitItemClick(QObject *Sender);
    void About1Click(QObject *Sender);

    // --- Menu handlers ------------------------------------------------------------------------
    void OpenItemClick(QObject *Sender);
    void SaveItemClick(QObject *Sender);
    void KC1Click(QObject *Sender);
    void K1Click(QObject *Sender);
    void K2Click(QObject *Sender);

    // --- Control handlers ------------------------------------------------------------------------
    void OnRBSaveClick(QObject *Sender);
    void OnImage1MouseDown(QObject *Sender, Qt::MouseButton Button, int X, int Y);
    void OnImage3MouseDpwn(QObject *Sender, Qt::MouseButton Button, int X, int Y);
    void OnSBMaxScroll(QObject *Sender, ScrollCode ScrollKind, int ScrollPos);
    void OnSBMinScroll(QObject *Sender, ScrollCode ScrollKind, int ScrollPos);
    void ScrollBarXChange(QObject *Sender);
    void ScrollBarYChange(QObject *Sender);
    void OnSBRChange(QObject *Sender);
    void OnSBDChange(QObject *Sender);
    void RBOnClick(QObject *Sender);
    void RBOffClick(QObject *Sender);
    void OnSliceClick(QObject *Sender);
    void OnPhaseClick(QObject *Sender);
    void OnSLClick(QObject *Sender);
    void OnPHClick(QObject *Sender);
    void OnMapSelet(QObject *Sender);
    void OnMAPSelectClick(QObject *Sender);
    void ScrollBar4Change(QObject *Sender);
    void OnRBSB_eyeClick(QObject *Sender);
    void ScrollBarAChange(QObject *Sender);
    void ScrollBarWChange(QObject *Sender);
    void OnMoveClick(QObject *Sender);
    void OnStopClick(QObject *Sender);
    void OnSTTChange(QObject *Sender);

    // --- Controls --------------------------------------------------------------------------------
    QFrame *SpeedPanel = nullptr;
    TLabel *Label4 = nullptr;
    TLabel *Label5 = nullptr;
    TRadioButton *RadioButton46 = nullptr;
    TRadioButton *RadioButton47 = nullptr;
    QProgressBar *ProgressBar1 = nullptr;
    QStatusBar *StatusBar = nullptr;

    TImage *Image1 = nullptr;
    TImage *Image2 = nullptr;
    TImage *Image3 = nullptr;
    TImage *Image4 = nullptr;
    TImage *Image5 = nullptr;

    TLabel *Label1 = nullptr;
    TLabel *Label2 = nullptr;
    TScrollBar *ScrollBarMax = nullptr;
    TScrollBar *ScrollBarMin = nullptr;

    TScrollBar *ScrollBarX = nullptr;
    TScrollBar *ScrollBarY = nullptr;
    TScrollBar *ScrollBarR = nullptr;
    TLabel *Label3 = nullptr;
    TScrollBar *ScrollBarD = nullptr;
    TRadioButton *RBOn = nullptr;
    TRadioButton *RBOff = nullptr;
    TLabel *Label6 = nullptr;

    QGroupBox *GroupBox1 = nullptr;
    QGroupBox *GroupBox2 = nullptr;
    QGroupBox *GroupBox3 = nullptr;
    TRadioButton *RadioButton33 = nullptr;
    TRadioButton *RadioButton34 = nullptr;
    TRadioButton *RadioButton35 = nullptr;
    QGroupBox *GroupBox4 = nullptr;
    TRadioButton *RadioButton37 = nullptr; // "GA", checked again by the montage buttons

    TScrollBar *ScrollBar4 = nullptr;
    QFrame *Panel1 = nullptr;
    TScrollBar *ScrollBarA = nullptr;
    TScrollBar *ScrollBarW = nullptr;
    TLabel *Label7 = nullptr;
    TLabel *Label8 = nullptr;
    TLabel *LabelA = nullptr;
    TLabel *LabelW = nullptr;

    QPushButton *Button1 = nullptr;
    QPushButton *Button2 = nullptr;
    TScrollBar *ScrollBarT = nullptr;

    // --- Menu --------------------------------------------------------------------------------------
    QMenu *FileMenu = nullptr;
    QAction *OpenItem = nullptr;
    QAction *SaveItem = nullptr;
    QAction *ExitItem = nullptr;
    QMenu *KE1 = nullptr;
    QAction *KC1 = nullptr;
    QMenu *KV1 = nullptr;
    QAction *K1 = nullptr;
    QAction *K2 = nullptr;
    QMenu *Help1 = nullptr;
    QAction *About1 = nullptr;

    // While a cine loop waits between frames: the loop to wake when a stop is requested.
    class QEventLoop *cineWait = nullptr;

protected:
    bool event(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void buildControls();
    void buildMenus();
    void applyTabOrder();

    // Sets CineStopRequested and wakes a cine loop that is waiting for its next frame.
    void requestCineStop();
    void drawCopyFrames();

    std::unique_ptr<ProgramData> data_;
    uint32_t colorMenu_ = 0;
    qint64 lastProgressPaint_ = -1; // ms on progressClock_
    QElapsedTimer progressClock_;
    QWidget *frameOverlay_ = nullptr; // paints the copy frames over every control
    QString applicationHint_;
    // The application's hint handler, installed by FormCreate.
    void (TSDIAppForm::*onHint_)(QObject *) = nullptr;
};

// Where FormCreate puts the window: centred on the screen, then 10 pixels up and to the left.
// Both halvings truncate toward zero, so a window wider than the screen gets a negative Left.
struct WindowPlace {
    int left;
    int top;
};
constexpr WindowPlace MainWindowPlace(int screenWidth, int screenHeight, int outerWidth, int outerHeight)
{
    return {(screenWidth - outerWidth) / 2 - 10, (screenHeight - outerHeight) / 2 - 10};
}

// The program's two windows, made at start-up and valid until the program ends.
extern TSDIAppForm *SDIAppForm;
extern TAboutBox *AboutBox;

// Start-up: creates the main window (which runs FormCreate) and then the hidden About
// dialog, and sets SDIAppForm and AboutBox. Destroying the result destroys both windows and
// clears the two references.
struct ProgramWindows {
    ProgramWindows();
    ~ProgramWindows();
    ProgramWindows(const ProgramWindows &) = delete;
    ProgramWindows &operator=(const ProgramWindows &) = delete;

    std::unique_ptr<TSDIAppForm> main;
    std::unique_ptr<TAboutBox> about;
};
