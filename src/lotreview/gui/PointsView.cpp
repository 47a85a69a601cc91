#include "PointsView.h"

#include "DropCommands.h"
#include "LotFieldsPanel.h"
#include "LotPlacesPanel.h"
#include "LotProblemsPanel.h"
#include "LotReportActions.h"
#include "LotWatch.h"
#include "PointMarkPanel.h"
#include "lotreport/gui/LotChartView.h"
#include "siteplan/gui/SitePlanView.h"

#include "lotreport/LotRecord.h"
#include "lotreport/LotTexts.h"
#include "shell/AppContext.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSplitter>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

namespace
{

QTableView* NewTable(QAbstractItemModel* model, const char* name, QWidget* parent)
{
    auto* view = new QTableView(parent);
    view->setObjectName(QString::fromLatin1(name));
    view->setModel(model);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->verticalHeader()->hide();
    view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 6);
    return view;
}

} // namespace

PointsView::PointsView(AppContext& context, std::function<QString()> shownDay, QWidget* parent)
    : QWidget(parent), m_context(context), m_language(context.G.UiLanguage),
      m_shownDay(std::move(shownDay)), m_lot(m_language), m_preferences(context.UserFolder),
      m_points(m_lot, m_language), m_drops(m_lot, m_language)
{
    const UiLanguage lang = m_language;
    m_lot.SetEditor(m_lot.Editor(), [this] { return m_context.Time->Now(); });
    m_watch = new LotWatch(m_lot, this);
    m_reports = new LotReportActions(context, m_lot, *m_watch, this);
    m_title = new QLabel(this);
    // However many days the lot holds, the title never widens the window.
    m_title->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    m_fields = new LotFieldsPanel(lang, this);
    m_places = new LotPlacesPanel(m_lot, context, this);
    m_pointsView = NewTable(&m_points, "PointsTable", this);
    m_dropsView = NewTable(&m_drops, "DropsTable", this);
    m_mark = new PointMarkPanel(m_lot, lang, this);
    auto* commands = new DropCommands(lang, this);
    auto* dropPanel = new QWidget(this);
    auto* dropLayout = new QVBoxLayout(dropPanel);
    dropLayout->setContentsMargins(0, 0, 0, 0);
    dropLayout->addWidget(m_dropsView, 1);
    dropLayout->addWidget(commands);

    m_summary = new QLabel(this);
    m_summary->setObjectName(QStringLiteral("LotSummary"));
    m_summary->setTextFormat(Qt::RichText);
    m_summary->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    m_verdict = new QLabel(this);
    m_verdict->setObjectName(QStringLiteral("LotVerdict"));
    m_verdict->setWordWrap(true);
    m_problems = new LotProblemsPanel(m_lot, lang, this);
    auto* statePanel = new QWidget(this);
    auto* stateLayout = new QVBoxLayout(statePanel);
    stateLayout->setContentsMargins(0, 0, 0, 0);
    stateLayout->addWidget(m_mark);
    stateLayout->addWidget(m_summary);
    stateLayout->addWidget(m_verdict);
    stateLayout->addWidget(m_problems);
    stateLayout->addStretch();

    m_chartValue = new QComboBox(this);
    m_chartValue->addItems({QStringLiteral("K-NWR"), QStringLiteral("E-NWR")});
    m_chart = new LotChartView(lang, this);
    auto* chartPanel = new QWidget(this);
    auto* chartLayout = new QHBoxLayout(chartPanel);
    chartLayout->setContentsMargins(0, 0, 0, 0);
    chartLayout->addWidget(m_chartValue, 0, Qt::AlignTop);
    chartLayout->addWidget(m_chart, 1);
    // The points, their chart and their plan share the width and the height (ten points in
    // view); the centreline's row stands beside their tabs, where there is room for it.
    auto* pointsChartOrPlan = new QTabWidget(this);
    pointsChartOrPlan->setCornerWidget(m_places->RoadPanel());
    pointsChartOrPlan->setObjectName(QStringLiteral("ChartOrPlan"));
    pointsChartOrPlan->addTab(m_pointsView, Tr(lang, "測点", "Points"));
    pointsChartOrPlan->addTab(chartPanel, Tr(lang, "グラフ", "Chart"));
    pointsChartOrPlan->addTab(m_plan = new SitePlanView(lang, this),
                              Tr(lang, "配置図", "Site plan"));
    m_pointsView->setMinimumHeight(m_pointsView->horizontalHeader()->sizeHint().height() +
                                   10 * m_pointsView->verticalHeader()->defaultSectionSize() +
                                   2 * m_pointsView->frameWidth());
    // Below them the drops of the chosen point beside what is said of the point and the lot:
    // its location or why it is left out, the summary and the verdict.
    auto* lower = new QSplitter(Qt::Horizontal, this);
    lower->addWidget(dropPanel);
    lower->addWidget(statePanel);
    lower->setSizes({560, 440});
    auto* parts = new QSplitter(Qt::Vertical, this);
    parts->addWidget(pointsChartOrPlan);
    parts->addWidget(lower);
    parts->setSizes({300, 300});

    auto* top = new QHBoxLayout;
    top->addWidget(m_title, 1);
    top->addWidget(m_places);
    auto* addDay = new QPushButton(Tr(lang, "表示中の日を追加", "Add the day shown"), this);
    addDay->setObjectName(QStringLiteral("AddDay"));
    top->addWidget(addDay);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_fields);
    layout->addWidget(parts, 1);

    connect(addDay, &QPushButton::clicked, this, &PointsView::AddShownDay);
    connect(commands, &DropCommands::Split, this, &PointsView::Split);
    connect(commands, &DropCommands::Join, this, &PointsView::Join);
    connect(commands, &DropCommands::Exclude, this, &PointsView::Exclude);
    connect(commands, &DropCommands::Include, this, &PointsView::Include);
    connect(m_fields, &LotFieldsPanel::Changed, this, &PointsView::TakeFields);
    connect(m_places, &LotPlacesPanel::Changed, this, [this] { Refresh(ChosenDrop()); });
    connect(m_mark, &PointMarkPanel::Changed, this, &PointsView::MarkChanged);
    connect(m_problems, &LotProblemsPanel::Changed, this, [this] { Refresh(ChosenDrop()); });
    connect(m_watch, &LotWatch::Changed, this, [this] { Refresh(ChosenDrop()); });
    connect(m_pointsView->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) { ShowPoint(current.row()); });
    connect(m_chartValue, &QComboBox::currentIndexChanged, this, [this] { ShowSummary(); });
    Refresh();
}

PointsView::~PointsView() = default;

void PointsView::AddLotActions(QMenu* file)
{
    file->addAction(Tr(m_language, "新しいロット(&N)", "&New Lot"), this, &PointsView::NewLot);
    file->addAction(Tr(m_language, "ロットを開く(&L)...", "Open &Lot..."), this,
                    &PointsView::OpenLot);
    file->addAction(Tr(m_language, "ロットを保存(&S)", "&Save Lot"), QKeySequence::Save, this,
                    &PointsView::SaveLot);
    file->addAction(Tr(m_language, "名前を付けてロットを保存(&A)...", "Save Lot &As..."), this,
                    &PointsView::SaveLotAs);
    m_reports->AddTo(file);
    m_places->AddActions(file);
}

QString PointsView::AskPath(bool save)
{
    QString folder = m_lot.Path().isEmpty() ? m_preferences.LastFolder()
                                            : QFileInfo(m_lot.Path()).absolutePath();
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString filter = Tr(m_language, "ロット (*.json)", "Lots (*.json)");
    if (!save)
        return m_context.Files->Choose(FileQuestion{FileQuestion::Kind::Open, folder, filter});
    QString path = m_context.Files->Choose(
        FileQuestion{FileQuestion::Kind::Save, QDir(folder).filePath("lot.json"), filter});
    if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".json");
    return path;
}

void PointsView::Tell(const Bilingual& title, const Bilingual& text, bool problem)
{
    m_context.Messages->Show(
        UiMessage{title, text, MessageButtons::Ok,
                  problem ? MessageIcon::Exclamation : MessageIcon::Information});
}

bool PointsView::MayDiscardLot()
{
    ApplyFields(); // a field still being typed in is part of the work
    if (!HasUnsavedWork())
        return true;
    return m_context.Messages->Show(
               UiMessage{Words("ロットは保存されていません", "Lot Not Saved"),
                         Words("ロットに保存していない変更があります。破棄しますか?",
                               "The lot has changes that are not saved. Discard them?"),
                         MessageButtons::OkCancel, MessageIcon::Exclamation}) == MessageAnswer::Ok;
}

bool PointsView::HasUnsavedWork() const
{
    return m_lot.HasUnsavedChanges() && LotToJson(m_lot.Document()) != m_begun;
}

void PointsView::NewLot()
{
    if (!MayDiscardLot())
        return;
    const QString day = m_shownDay();
    m_lot.New(day.isEmpty() ? QStringList() : QStringList{day});
    m_lot.SetRules(m_preferences.Rules());
    m_lot.SetJudgement(m_preferences.Judgement());
    m_begun = LotToJson(m_lot.Document());
    Refresh();
    emit LotShown();
}

void PointsView::AddShownDay()
{
    Bilingual problem;
    const QString day = m_shownDay();
    if (day.isEmpty())
        return;
    if (!m_lot.IsOpen()) {
        NewLot(); // of the day shown, with the office's rules
        return;
    }
    if (!m_lot.AddDayFile(day, &problem))
        Tell(Words("日を追加できません", "Day Not Added"), problem, true);
    Refresh();
}

void PointsView::OpenLot()
{
    if (!MayDiscardLot())
        return;
    const QString path = AskPath(false);
    if (path.isEmpty())
        return;
    // What changed in the day files stays in the Points tab, in place of the verdict.
    Bilingual problem, notice;
    if (!m_lot.Open(path, &problem, &notice)) {
        Tell(Words("ロットを開けません", "Lot Not Opened"), problem, true);
        return;
    }
    m_begun.clear();
    m_preferences.RememberLotFile(path);
    Refresh();
    emit LotShown();
}

void PointsView::SaveLot()
{
    if (m_lot.Path().isEmpty()) {
        SaveLotAs();
        return;
    }
    Bilingual problem;
    ApplyFields();
    m_watch->Check();
    if (!m_lot.Save(QString(), &problem))
        Tell(Words("保存エラー", "Save Error"), problem, true);
    else
        m_begun.clear();
    Refresh(ChosenDrop());
}

void PointsView::SaveLotAs()
{
    const QString path = AskPath(true);
    if (path.isEmpty())
        return;
    Bilingual problem;
    ApplyFields();
    m_watch->Check();
    if (m_lot.Save(path, &problem)) {
        m_begun.clear();
        m_preferences.RememberLotFile(path);
    } else {
        Tell(Words("保存エラー", "Save Error"), problem, true);
    }
    Refresh(ChosenDrop());
}

void PointsView::ApplyFields()
{
    m_lot.SetHeader(m_fields->Header());
    const PointRules rules = m_fields->Rules();
    const PointRules& now = m_lot.Document().Rules;
    if (rules != now)
        m_lot.SetRules(rules);
    m_lot.SetJudgement(m_fields->Judgement());
    m_points.Refresh();
    m_pointsView->resizeColumnsToContents();
    m_drops.ShowPoint(m_drops.Point());
    ShowSummary();
}

// An edit of the rules is the office's choice for its next new lot as well.
void PointsView::TakeFields()
{
    ApplyFields();
    if (m_lot.IsOpen())
        m_preferences.Remember(m_lot.Document().Rules, m_lot.Document().Judgement);
}

void PointsView::MarkChanged()
{
    m_points.Update();
    m_mark->ShowPoint(m_drops.Point());
    ShowSummary();
}

void PointsView::Refresh(int keepDrop)
{
    const int point = keepDrop >= 0 ? m_lot.PointOf(keepDrop) : 0;
    m_fields->Load(m_lot.Document());
    m_fields->setEnabled(m_lot.IsOpen());
    m_places->Load();
    m_watch->Follow();
    QString title =
        m_lot.IsOpen()
            ? Tr(m_language, "ロット: %1", "Lot: %1")
                  .arg(m_lot.Path().isEmpty() ? Tr(m_language, "(未保存)", "(not saved)")
                                              : QDir::toNativeSeparators(m_lot.Path()))
            : Tr(m_language, "ファイル > 新しいロット で始めます", "Start with File > New Lot");
    if (!m_lot.Document().Files.empty())
        title += QStringLiteral("   ") + DayFilesText(m_lot, m_language);
    m_title->setText(title);
    m_points.Refresh();
    m_pointsView->resizeColumnsToContents();
    if (m_points.rowCount() > 0)
        m_pointsView->selectRow(std::max(point, 0));
    else
        ShowPoint(-1);
    const int row = m_drops.RowOf(keepDrop);
    if (row >= 0)
        m_dropsView->selectRow(row);
    ShowSummary();
}

void PointsView::ShowPoint(int point)
{
    m_drops.ShowPoint(point);
    m_mark->ShowPoint(point);
    m_dropsView->resizeColumnsToContents();
}

void PointsView::ShowSummary()
{
    m_summary->setText(HtmlTable(LotSummaryRows(m_lot, m_language)));
    // While a problem holds, the problems panel stands where the verdict would.
    m_problems->Refresh();
    m_verdict->setVisible(m_problems->isHidden());
    const Verdict v = m_lot.DraftReason().En.isEmpty() ? m_lot.Summary().Result : Verdict::None;
    const QString colour = v == Verdict::Fail   ? QStringLiteral("#c00000")
                           : v == Verdict::Pass ? QStringLiteral("#006000")
                                                : QStringLiteral("#404040");
    m_verdict->setText(QStringLiteral("<b style='color:%1'>%2</b>")
                           .arg(colour, LotStateLine(m_lot, m_language).toHtmlEscaped()));
    m_chart->Show(BuildLotChart(m_lot, m_chartValue->currentIndex() == 1, m_language));
    m_plan->Show(m_lot.Places().Plan(m_lot.Points(), m_lot.Document().Judgement.Need));
}

int PointsView::ChosenDrop() const
{
    return m_drops.DropAt(m_dropsView->currentIndex().row());
}

void PointsView::Split(const QString& reason)
{
    const int drop = ChosenDrop();
    m_lot.SplitAt(drop, reason);
    Refresh(drop);
}

void PointsView::Join(const QString& reason)
{
    const int point = m_drops.Point();
    const int drop = m_drops.DropAt(0);
    if (!m_lot.JoinWithNext(point, reason))
        Tell(Words("結合できません", "Not Joined"),
             Words("次の測点がないか、別のファイルにあります。測点は 1 "
                   "つのファイルの中だけで結合できます。",
                   "There is no next point, or it lies in another file: points join only within "
                   "one day file."),
             false);
    Refresh(drop);
}

void PointsView::Exclude(ExclusionReason reason, const QString& text)
{
    const int drop = ChosenDrop();
    m_lot.Exclude(drop, reason, text);
    Refresh(drop);
}

void PointsView::Include()
{
    const int drop = ChosenDrop();
    m_lot.Include(drop);
    Refresh(drop);
}
