// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#include "app/mainwindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>

#include "app/artwork.h"
#include "app/clearliststeps.h"
#include "app/joblistview.h"
#include "app/outputoptions.h"
#include "app/startupsteps.h"
#include "app/twips.h"
#include "common/apptitle.h"
#include "common/errorlocations.h"
#include "common/errorpolicy.h"
#include "common/files.h"
#include "common/interaction.h"
#include "common/product.h"
#include "common/programexit.h"
#include "common/settings.h"
#include "convert/batchrun.h"
#include "convert/officepool.h"
#include "convert/presencecheck.h"
#include "convert/queuedrun.h"
#include "joblist/addall.h"
#include "joblist/adddialog.h"
#include "joblist/adddrop.h"
#include "joblist/joblist.h"
#include "joblist/samples.h"

namespace slate {

namespace {
// A bar whose text is shown as given: its usual format would expand "%p" and the like, and
// file names may hold them.
class TextProgressBar : public QProgressBar {
  public:
    using QProgressBar::QProgressBar;
    void setPlainText(const QString& text) {
        text_ = text;
        update();
    }
    QString text() const override { return text_; }

  private:
    QString text_;
};

const QString kListTooltip = QStringLiteral(
    "Drag and drop files here. Double-click item to remove it. Move | line to right and out of "
    "window to reveal full names.");
const QString kListHeader = QStringLiteral("Impress File(s)");
constexpr int kClientWidthTwips = 8040;
constexpr int kClientHeightTwips = 6660;

QFont windowFont() {
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(9);
    font.setBold(true);
    return font;
}

QFont buttonFont() {
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(11.25);
    font.setBold(true);
    return font;
}

void setBackground(QWidget* widget, const QColor& color) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, color);
    widget->setPalette(palette);
    // Buttons fill with their button colour by default; the option buttons sit on the window's.
    widget->setBackgroundRole(QPalette::Window);
    widget->setAutoFillBackground(true);
}
}  // namespace

MainWindow::MainWindow(const WindowServices& services, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint),
      services_(services),
      jobList_(new JobList(this)),
      closeAction_([] { program::exitNow(0); }),
      endProgram_([] { program::exitNow(3); }),
      diagnostics_(writeStandardErrorLine),
      batchRun_(std::make_unique<BatchRun>(*jobList_, *this, services.bridge, services.dialogs,
                                           services.reporter, services.files)) {
    setObjectName(QStringLiteral("Form1"));
    setAccessibleName(product::kName);
    OfficePool* offices = services.offices;
    if (!offices) {
        ownOffices_ = std::make_unique<OfficePool>(
            [&bridge = services.bridge](int) { return borrowedOffice(bridge); }, 1);
        offices = ownOffices_.get();
    }
    officeCount_ = [](int files) {
        return windowOfficeCount(files, GetSetting(Setting::Offices), availableCores(),
                                 availableMemoryBytes());
    };
    queuedRun_ = std::make_unique<QueuedRun>(
        *batchRun_, *jobList_, *this, *offices, [this](int files) { return officeCount_(files); },
        services.reporter);
    queuedRun_->onNotice = [this](const QString& text) { diagnostics_(text); };
    buildControls();
    connectHandlers();
    // The window first shows in the middle of the screen.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
}

// The run goes first: its offices' threads use the list and the pool.
MainWindow::~MainWindow() {
    queuedRun_.reset();
}

int windowOfficeCount(int files, const QString& asked, int cores, qint64 availableBytes) {
    const int automatic = officesForRun(files, cores, availableBytes).offices;
    bool number = false;
    const int wanted = asked.trimmed().toInt(&number);
    return number && wanted >= 1 ? std::min(wanted, automatic) : automatic;
}

void MainWindow::buildControls() {
    const int dpi = logicalDpi(this);
    setFont(windowFont());
    setFixedSize(twipsToPixels(kClientWidthTwips, dpi), twipsToPixels(kClientHeightTwips, dpi));
    setBackground(this, Qt::white);
    setMouseTracking(true);
    buildList();
    buildProgressBar();
    buildButtons();
    buildSaveOptions();

    // Keyboard order follows the design's tab stops; the bar and frames take no focus.
    const QList<QWidget*> order{ListView1,   ProgressBar1, PushButton1, PushButton4, PushButton2,
                                PushButton8, PushButton9,  Frame3,      Frame4,      Text1,
                                PushButton3, Option1,      Option2};
    for (int i = 0; i + 1 < order.size(); ++i)
        setTabOrder(order[i], order[i + 1]);
}

void MainWindow::place(QWidget* w, int left, int top, int width, int height) {
    w->setGeometry(twipsRect(left, top, width, height, logicalDpi(this)));
}

void MainWindow::buildList() {
    ListView1 = new JobListView(jobList_, this);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ListView1->setToolTip(kListTooltip);
    ListView1->setAccessibleName(kListHeader);
    ListView1->setAccessibleDescription(kListTooltip);
    ListView1->setDragPointerFile(
        QDir(services_.programFolder).filePath(QStringLiteral("drag.ico")));
    ListView1->setBusyTest([this] { return isBusy(); });
    ListView1->setPointerMoveRule([this] { applyHoverRule(ListView1); });
    ListView1->setDropHandler([this](const QStringList& paths) {
        AddDroppedPaths(paths, *jobList_, services_.reporter, handlePendingEvents, services_.files);
    });
    place(ListView1, 120, 120, 7800, 2535);
}

void MainWindow::buildProgressBar() {
    ProgressBar1 = new TextProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setTextVisible(true);
    ProgressBar1->setAlignment(Qt::AlignCenter);
    ProgressBar1->setAccessibleName(QStringLiteral("Progress"));
    place(ProgressBar1, 120, 6150, 7800, 405);
    setProgressText(runtext::kProgressRest);
    setProgressValue(0);
}

QPushButton* MainWindow::button(const char* name, const QString& caption, int left, int top,
                                int width, int height, QWidget* parent) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    b->setFont(buttonFont());
    b->setAccessibleName(caption == QLatin1String("...") ? QStringLiteral("Choose output folder")
                                                         : caption);
    b->setMouseTracking(true);
    b->installEventFilter(this);
    place(b, left, top, width, height);
    return b;
}

void MainWindow::buildButtons() {
    PushButton1 =
        button("PushButton1", QStringLiteral("Add ODP File(s)"), 120, 2750, 3840, 405, this);
    PushButton4 = button("PushButton4", QStringLiteral("Add All ODP Files In Folder"), 4080, 2750,
                         3840, 405, this);
    PushButton2 =
        button("PushButton2", QStringLiteral("Start Converting"), 120, 5630, 7800, 405, this);
    PushButton8 = button("PushButton8", QStringLiteral("Clear List"), 120, 3260, 3840, 405, this);
    PushButton9 = button("PushButton9", QStringLiteral("Load Sample/Example Files"), 4080, 3260,
                         3840, 405, this);
}

void MainWindow::buildSaveOptions() {
    Frame3 = new QGroupBox(QStringLiteral("Save Option"), this);
    Frame3->setObjectName(QStringLiteral("Frame3"));
    place(Frame3, 120, 3690, 7800, 1815);
    Frame4 = new QGroupBox(Frame3);
    Frame4->setObjectName(QStringLiteral("Frame4"));
    Frame4->setAccessibleName(QStringLiteral("Output folder"));
    place(Frame4, 480, 510, 6840, 810);

    Text1 = new QLineEdit(Frame4);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setAccessibleName(QStringLiteral("Output folder"));
    place(Text1, 240, 300, 5670, 345);
    PushButton3 = button("PushButton3", QStringLiteral("..."), 6000, 300, 600, 345, Frame4);

    Option1 = new QRadioButton(QStringLiteral("Save results to this folder:"), Frame3);
    Option1->setObjectName(QStringLiteral("Option1"));
    place(Option1, 240, 300, 3615, 255);
    Option1->setChecked(true);
    Option2 = new QRadioButton(QStringLiteral("Save results in folder of original file"), Frame3);
    Option2->setObjectName(QStringLiteral("Option2"));
    place(Option2, 240, 1410, 3615, 255);

    for (QWidget* w : std::initializer_list<QWidget*>{Frame3, Frame4, Option1, Option2})
        setBackground(w, Qt::white);
    for (QWidget* w : std::initializer_list<QWidget*>{Frame3, Frame4, Text1}) {
        w->setMouseTracking(true);
        w->installEventFilter(this);
    }
}

void MainWindow::connectHandlers() {
    // The output group's controller connects its own controls.
    outputOptions_ =
        new OutputOptions(Option1, Option2, Frame4, Text1, PushButton3, services_.dialogs,
                          services_.reporter, services_.files, this);
    connect(PushButton1, &QPushButton::clicked, this, &MainWindow::PushButton1_Click);
    connect(PushButton2, &QPushButton::clicked, this, &MainWindow::PushButton2_Click);
    connect(PushButton4, &QPushButton::clicked, this, &MainWindow::PushButton4_Click);
    connect(PushButton8, &QPushButton::clicked, this, &MainWindow::PushButton8_Click);
    connect(PushButton9, &QPushButton::clicked, this, &MainWindow::PushButton9_Click);
}

void MainWindow::setMousePointer(MousePointer pointer) {
    pointer_ = pointer;
    switch (pointer) {
        case MousePointer::Default:
            setCursor(Qt::ArrowCursor);
            break;
        case MousePointer::Custom:
            // Without the hand picture the custom pointer shows as the default one.
            setCursor(hasCustomPointer_ ? customPointer_ : QCursor(Qt::ArrowCursor));
            break;
        case MousePointer::Busy:
            setCursor(Qt::WaitCursor);
            break;
    }
}

void MainWindow::applyHoverRule(QWidget* over) {
    if (isBusy())
        return;
    const bool overButton = over == PushButton1 || over == PushButton2 || over == PushButton3 ||
                            over == PushButton4 || over == PushButton8 || over == PushButton9;
    const bool overPlain =
        over == this || over == Frame3 || over == Frame4 || over == Text1 || over == ListView1;
    if (overButton) {
        setMousePointer(MousePointer::Custom);
    } else if (overPlain) {
        setMousePointer(MousePointer::Default);
    }
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseMove) {
        // A move that a child ignored reaches its container too; only the control really
        // under the pointer has a say.
        auto* widget = qobject_cast<QWidget*>(watched);
        const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
        if (widget && !widget->childAt(at))
            applyHoverRule(widget);
    }
    return QWidget::eventFilter(watched, event);
}

void MainWindow::mouseMoveEvent(QMouseEvent* event) {
    if (!childAt(event->position().toPoint()))
        applyHoverRule(this);
    QWidget::mouseMoveEvent(event);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    event->accept();
    if (closeAction_)
        closeAction_();
}

void MainWindow::setProgressValue(double value) {
    ProgressBar1->setValue(qBound(0, static_cast<int>(value), 100));
}

void MainWindow::setProgressText(const QString& text) {
    static_cast<TextProgressBar*>(ProgressBar1)->setPlainText(text);
    ProgressBar1->setAccessibleDescription(text);
}

void MainWindow::SetAppTitle() {
    setAppTitleText(shortenedTitle(product::kName));
}

bool MainWindow::ApplySkin() {
    QFile skin(QDir(services_.programFolder).filePath(QStringLiteral("x/o.cjs")));
    if (!skin.exists())
        return false;
    const QColor buttonFace = QApplication::palette().color(QPalette::Button);
    setBackground(this, buttonFace);
    for (QWidget* w : findChildren<QWidget*>()) {
        if (qobject_cast<QRadioButton*>(w) || qobject_cast<QGroupBox*>(w) ||
            w->inherits("QCheckBox") || w->inherits("QLabel")) {
            setBackground(w, buttonFace);
        }
    }
    if (!skin.open(QIODevice::ReadOnly)) {
        throw AppError(QStringLiteral("The skin file %1 cannot be read: %2")
                           .arg(skin.fileName(), skin.errorString()));
    }
    setStyleSheet(QString::fromUtf8(skin.readAll()));
    return true;
}

void MainWindow::loadCustomPointer() {
    hasCustomPointer_ = artwork::loadCursorFile(
        QDir(services_.programFolder).filePath(QStringLiteral("HAND-M.CUR")), &customPointer_);
}

void MainWindow::PushButton1_Click() {
    AddFilesByDialog(services_.dialogs, services_.reporter, *jobList_);
}

void MainWindow::PushButton2_Click() {
    batchRun_->start();
}

void MainWindow::processPendingEvents() {
    handlePendingEvents();
}

OutputChoice MainWindow::outputChoice() const {
    return outputOptions_->choice();
}

void MainWindow::PushButton4_Click() {
    AddAllFilesInFolder(
        {services_.dialogs, services_.reporter, *jobList_,
         [this](bool busy) { setMousePointer(busy ? MousePointer::Busy : MousePointer::Default); },
         handlePendingEvents, services_.files});
}

void MainWindow::PushButton9_Click() {
    LoadSamplesClick(*jobList_, services_.programFolder, services_.dialogs, services_.shell,
                     services_.reporter, services_.files, handlePendingEvents);
}

void MainWindow::PushButton8_Click() {
    GuardedProcedure g(services_.reporter, location::kClearList);
    g.step(ClearListStep::ClearList, [&] {
        if (isBusy())
            return;
        jobList_->clear();
    });
}

void MainWindow::Form_Load() {
    GuardedProcedure g(services_.reporter, location::kFormLoad);
    g.step(StartupStep::ApplySkin, [&] { ApplySkin(); });
    if (g.test(StartupStep::TestHandPointer, [&] {
            return PathExists(QDir(services_.programFolder).filePath(QStringLiteral("HAND-M.CUR")),
                              services_.files);
        })) {
        g.step(StartupStep::LoadHandPointer, [&] { loadCustomPointer(); });
    }
    g.step(StartupStep::MaybeOpenHomePage, [&] {
        // Now and then the product's home page is offered, without waiting for it.
        const int draw = static_cast<int>(services_.random.fraction() * 100) + 1;
        if (draw == 7)
            services_.shell.openUrl(product::kHomePage);
    });
    // The sample files are recorded once; an empty record is tried again at the next start.
    for (const StartupStep step : {StartupStep::RecordSamples, StartupStep::RecordSamplesAgain}) {
        if (g.test(step, [&] { return GetSetting(Setting::Snapshot).isEmpty(); })) {
            g.step(step, [&] {
                RecordSampleFiles(services_.programFolder, services_.files, handlePendingEvents);
            });
        }
    }
    g.step(StartupStep::SetCaption, [&] {
        setWindowTitle(product::kName);
        setWindowIcon(artwork::programIcon());
        SetAppTitle();
    });
    g.step(StartupStep::AddListColumn, [&] { jobList_->setHeaderText(kListHeader); });
    g.step(StartupStep::SetColumnWidth,
           [&] { ListView1->setColumnWidth(0, twipsToPixels(7000, logicalDpi(this))); });
    outputOptions_->restore(g);
    g.step(StartupStep::RequireOffice, [&] {
        RequireOpenOffice(services_.bridge, services_.dialogs, services_.shell, endProgram_,
                          diagnostics_);
    });
}

}  // namespace slate
