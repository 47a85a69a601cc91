#include "ReviewWindow.h"

#include "dayreview/gui/DayChartView.h"
#include "dayreview/gui/DayListView.h"
#include "lotreview/gui/PointsView.h"
#include "outputs/gui/ReviewOutput.h"

#include "dayreview/DayChart.h"
#include "dayreview/DayReportDocument.h"
#include "shell/AppContext.h"

#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QScrollArea>
#include <QScrollBar>
#include <QSortFilterProxyModel>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

namespace
{

QTableView* NewTable(QAbstractItemModel* model, QWidget* parent)
{
    auto* view = new QTableView(parent);
    view->setModel(model);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 6);
    return view;
}

} // namespace

ReviewWindow::ReviewWindow(AppContext& context, QWidget* parent)
    : QMainWindow(parent), m_context(context), m_language(context.G.UiLanguage),
      m_table(m_language), m_stats(m_language)
{
    setWindowTitle(Tr(m_language, "VX-2968 測定結果の閲覧", "VX-2968 Results"));
    setAcceptDrops(true);
    QFont font(context.G.UiFontName);
    font.setPointSize(10);
    setFont(font);

    m_dayView = new DayListView(m_language, this);

    m_sorted = new QSortFilterProxyModel(this);
    m_sorted->setSourceModel(&m_table);
    m_sorted->setSortRole(DayTableModel::SortRole);
    auto* dayPanel = new QWidget(this);
    m_settings = new QLabel(dayPanel);
    m_note = new QLabel(dayPanel);
    m_note->setStyleSheet(QStringLiteral("color: #a02000"));
    m_note->setWordWrap(true);
    m_legend = new QLabel(dayPanel);
    m_tableView = NewTable(m_sorted, dayPanel);
    m_tableView->setObjectName(QStringLiteral("DayTable"));
    m_tableView->setSortingEnabled(true);
    m_tableView->sortByColumn(-1,
                              Qt::AscendingOrder); // the file's order until a heading is pressed
    m_tableView->verticalHeader()->hide();
    m_statsCaption = new QLabel(dayPanel);
    m_statsCaption->setWordWrap(true);
    m_statsView = NewTable(&m_stats, dayPanel);
    m_chart = new DayChartView(dayPanel);

    m_tabs = new QTabWidget(dayPanel);
    m_tabs->addTab(m_tableView, Tr(m_language, "結果", "Results"));
    auto* statsPage = new QWidget(m_tabs);
    auto* statsLayout = new QVBoxLayout(statsPage);
    statsLayout->addWidget(m_statsCaption);
    statsLayout->addWidget(m_statsView);
    m_tabs->addTab(statsPage, Tr(m_language, "統計", "Statistics"));
    m_tabs->addTab(m_chart, Tr(m_language, "グラフ", "Chart"));
    m_points = new PointsView(context, [this] { return m_table.Day().File().Path; });
    // The lot's many fields would otherwise hold the whole day panel at their width and
    // squeeze the list of days; narrower than they need, the tab scrolls instead.
    auto* pointsPage = new QScrollArea(m_tabs);
    pointsPage->setWidget(m_points);
    pointsPage->setWidgetResizable(true);
    pointsPage->setFrameShape(QFrame::NoFrame);
    m_tabs->addTab(pointsPage, Tr(m_language, "測点", "Points"));
    connect(m_tabs, &QTabWidget::currentChanged, this, &ReviewWindow::FitPanels);
    connect(m_points, &PointsView::LotShown, this,
            [this, pointsPage] { m_tabs->setCurrentWidget(pointsPage); });
    connect(m_tabs, &QTabWidget::currentChanged, this, &ReviewWindow::ShowDayLines);
    auto* layout = new QVBoxLayout(dayPanel);
    layout->addWidget(m_settings);
    layout->addWidget(m_note);
    layout->addWidget(m_legend);
    layout->addWidget(m_tabs, 1);

    auto* split = new QSplitter(this);
    split->addWidget(m_dayView);
    split->addWidget(dayPanel);
    split->setStretchFactor(1, 1);
    split->setSizes({520, 840});
    setCentralWidget(split);

    statusBar()->addPermanentWidget(m_dayView->Progress());
    m_leftOut = new QLabel(this);
    statusBar()->addPermanentWidget(m_leftOut);
    BuildMenus();
    resize(1360, 768);

    connect(m_dayView, &DayListView::Fitted, this, &ReviewWindow::FitPanels);
    connect(m_dayView, &DayListView::Finished, this, &ReviewWindow::ListingFinished);
    connect(m_dayView->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) { ShowDay(current.row()); });
    // The choice is taken anew when the rows chosen change, when the table is sorted (the
    // outputs list them in the order shown) and when another day replaces the table's.
    connect(m_tableView->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &ReviewWindow::TakeChoice);
    connect(m_sorted, &QAbstractItemModel::layoutChanged, this, &ReviewWindow::TakeChoice);
    connect(&m_table, &QAbstractItemModel::modelReset, this, &ReviewWindow::TakeChoice);
}

ReviewWindow::~ReviewWindow() = default;

void ReviewWindow::BuildMenus()
{
    m_output = std::make_unique<ReviewOutput>(m_context, this);
    ReviewOutput* output = m_output.get();
    QMenu* file = menuBar()->addMenu(Tr(m_language, "ファイル(&F)", "&File"));
    file->addAction(Tr(m_language, "フォルダを開く(&O)...", "&Open Folder..."), QKeySequence::Open,
                    this, &ReviewWindow::ChooseFolder);
    file->addAction(Tr(m_language, "ファイルを開く(&I)...", "Open F&ile..."), this,
                    &ReviewWindow::ChooseFile);
    file->addSeparator();
    m_points->AddLotActions(file);
    file->addSeparator();
    // Each follows the choice: the chosen rows, or the whole day when none is chosen. It
    // keeps the day and the choice it began with, though the list may go on filling behind
    // its dialog and show another day.
    using Write = void (ReviewOutput::*)(const ReviewDocument&);
    const auto keeping = [this, output](Write write) {
        return [this, output, write] {
            const std::shared_ptr<const ReviewedDay> day = m_table.SharedDay();
            const DaySelection selection = m_selection;
            (output->*write)(DayReportDocument(*day, selection, m_context.G.FixedFontName));
        };
    };
    file->addAction(Tr(m_language, "試験報告書を PDF に保存(&P)...", "Save &Protocol as PDF..."),
                    this, keeping(&ReviewOutput::SaveReport));
    file->addAction(Tr(m_language, "試験報告書を印刷(&R)...", "P&rint Protocol..."),
                    QKeySequence::Print, this, keeping(&ReviewOutput::PrintReport));
    file->addAction(Tr(m_language, "Excel ファイルに保存(&X)...", "Save as E&xcel File..."), this,
                    keeping(&ReviewOutput::SaveWorkbook));
    file->addSeparator();
    file->addAction(Tr(m_language, "終了(&Q)", "&Quit"), QKeySequence::Quit, this, &QWidget::close);
    QMenu* edit = menuBar()->addMenu(Tr(m_language, "編集(&E)", "&Edit"));
    edit->addAction(Tr(m_language, "表をコピー(&C)", "&Copy Table"), QKeySequence::Copy, this,
                    &ReviewWindow::CopyRows);
}

void ReviewWindow::OpenFolder(const QString& folder)
{
    m_shownFolder = DayFolderFor(folder);
    const QStringList leftOut = LeftOutFiles(m_shownFolder);
    m_leftOut->setText(LeftOutText(leftOut, m_language));
    m_leftOut->setToolTip(leftOut.join(QLatin1Char('\n')));
    m_table.SetDay(DayFile{});
    m_dayView->List(DayEntries(m_shownFolder));
    statusBar()->showMessage(Tr(m_language, "%1 を読んでいます...", "Reading %1 ...")
                                 .arg(QDir::toNativeSeparators(m_shownFolder)));
}

void ReviewWindow::OpenFile(const QString& path)
{
    m_shownFolder = path;
    m_leftOut->clear();
    m_table.SetDay(DayFile{});
    m_dayView->List({path});
}

void ReviewWindow::ListingFinished()
{
    statusBar()->showMessage(Tr(m_language, "%1: %2 日", "%1: %2 day(s)")
                                 .arg(QDir::toNativeSeparators(m_shownFolder))
                                 .arg(m_dayView->Days()));
    if (m_dayView->Days() > 0 && !m_dayView->selectionModel()->hasSelection())
        m_dayView->selectRow(0);
}

// The list of days gets the width it needs, up to a little over half the window; while the
// Points tab is shown, a quarter (its dates and counts), and the lot the rest.
void ReviewWindow::FitPanels()
{
    const int wanted = m_dayView->WantedWidth();
    auto* split = static_cast<QSplitter*>(centralWidget());
    const int total = split->sizes().value(0) + split->sizes().value(1);
    int left = std::min(wanted, total * 11 / 20);
    if (m_tabs->currentWidget()->isAncestorOf(m_points)) {
        left = std::min(left, total / 4);
        // The fields' width and what the day panel and the tabs put around them.
        const int points = m_points->minimumSizeHint().width() + split->widget(1)->width() -
                           m_tabs->currentWidget()->width();
        left = std::max(0, std::min(left, total - points));
    }
    split->setSizes({left, total - left});
}

void ReviewWindow::ShowDay(int listRow)
{
    const DaySummary* summary = m_dayView->Day(listRow);
    if (!summary)
        return;
    // The table's reset takes the choice anew: none, the whole day.
    m_table.SetDay(ReadDayFile(summary->Path, m_language));
    const ReviewedDay& day = m_table.Day();
    m_tableView->resizeColumnsToContents();
    m_settings->setText(day.File().Refused() ? QString() : DaySettingsText(day));
    m_note->setText(SkippedLinesText(day));
    m_legend->setText(
        QStringLiteral("<span style=\"background-color: %1\">&nbsp;&nbsp;&nbsp;&nbsp;"
                       "</span> %2")
            .arg(QColor(QRgb(MarkedTint)).name(), Tr(m_language, "色付きの行: ", "Tinted rows: ") +
                                                      MarkLegend(day).toHtmlEscaped()));
    ShowDayLines();
    m_chart->Show(BuildDayChart(day, m_selection));
}

// The day's settings, skipped lines and legend say nothing of a lot: the Points tab takes
// their height while it is shown.
void ReviewWindow::ShowDayLines()
{
    const bool day = !m_tabs->currentWidget()->isAncestorOf(m_points);
    m_settings->setVisible(day);
    m_note->setVisible(day && !m_note->text().isEmpty());
    m_legend->setVisible(day && m_table.Day().Results() > 0);
}

std::vector<int> ReviewWindow::ChosenRows() const
{
    std::vector<int> rows;
    for (int r = 0; r < m_sorted->rowCount(); ++r) {
        if (m_tableView->selectionModel()->isRowSelected(r, {}))
            rows.push_back(m_sorted->mapToSource(m_sorted->index(r, 0)).row());
    }
    return rows;
}

void ReviewWindow::TakeChoice()
{
    m_selection = m_table.Day().Select(ChosenRows());
    m_stats.Show(m_table.Day(), m_selection);
    m_statsCaption->setText(m_stats.Caption());
    m_statsView->resizeColumnsToContents();
}

void ReviewWindow::CopyRows()
{
    std::vector<int> rows = m_selection.Chosen;
    if (rows.empty()) {
        for (int r = 0; r < m_sorted->rowCount(); ++r)
            rows.push_back(m_sorted->mapToSource(m_sorted->index(r, 0)).row());
    }
    if (rows.empty())
        return;
    m_context.Clipboard->SetText(TableTabText(m_table.Day(), rows));
    statusBar()->showMessage(Tr(m_language, "%1 件をクリップボードにコピーしました",
                                "%1 result(s) copied to the clipboard")
                                 .arg(rows.size()));
}

void ReviewWindow::ChooseFolder()
{
    const QString folder =
        m_context.Files->Choose(FileQuestion{FileQuestion::Kind::Folder, m_shownFolder, {}});
    if (!folder.isEmpty())
        OpenFolder(folder);
}

void ReviewWindow::ChooseFile()
{
    const QString path = m_context.Files->Choose(
        FileQuestion{FileQuestion::Kind::Open, m_shownFolder,
                     Tr(m_language, "結果ファイル (*.csv *.CSV)", "Results files (*.csv *.CSV)")});
    if (!path.isEmpty())
        OpenFile(path);
}

void ReviewWindow::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void ReviewWindow::dropEvent(QDropEvent* event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.isEmpty() || !urls.front().isLocalFile())
        return;
    const QString path = urls.front().toLocalFile();
    if (QFileInfo(path).isDir())
        OpenFolder(path);
    else
        OpenFile(path);
    event->acceptProposedAction();
}

void ReviewWindow::closeEvent(QCloseEvent* event)
{
    if (m_points->MayDiscardLot())
        event->accept();
    else
        event->ignore();
}
