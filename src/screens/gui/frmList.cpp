#include "frmList.h"

#include "printing/mdlPublicPrint.h"
#include "results/ResultsContext.h"
#include "screens/SettingsList.h"
#include "shell/Bilingual.h"
#include "shell/Twips.h"
#include "shell/gui/GridView.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QPushButton>

namespace
{

constexpr double WindowPoints = 9.0;
constexpr int Border = ListWindowExtra / 2; // twips around the table
constexpr int ListRowHeight = 300;          // twips
constexpr int ButtonWidth = 1455;
constexpr int ButtonHeight = 495;
constexpr int ButtonGap = 120;
constexpr int CellPaddingPixels = 3;
constexpr int CalcTypeRow = 7;

} // namespace

frmList::frmList(ResultsContext& context, QWidget* parent)
    : QDialog(parent), Printing(context, this), m_context(context)
{
    setModal(true);
    MSFList = new GridView(&m_grid, this);
    Command1[0] = new QPushButton(this);
    Command1[1] = new QPushButton(this);
    SetCaptionsAndFonts();
    SetupListGrid(m_grid, m_context.Logger, m_context.G.UiLanguage);
    PlaceControls();

    connect(BackButton(), &QPushButton::clicked, this, [this] { Command1_Click(0); });
    connect(PrintButton(), &QPushButton::clicked, this, [this] { Command1_Click(1); });
    connect(MSFList, &GridView::KeyDown, this, &frmList::MSFList_KeyDown);
    // Tab as the controls stand: Print lies left of the way back.
    setTabOrder(MSFList, PrintButton());
    setTabOrder(PrintButton(), BackButton());
}

void frmList::SetCaptionsAndFonts()
{
    const Globals& g = m_context.G;
    setWindowTitle(Tr(g.UiLanguage, " 設定値表示", " Display Setting"));
    const QFont font(g.UiFontName, int(WindowPoints));
    setFont(font);
    BackButton()->setText(Tr(g.UiLanguage, "計測に戻る", "Measure"));
    PrintButton()->setText(Tr(g.UiLanguage, "印　　　刷", "Print"));
    for (QPushButton* button : Command1)
        button->setFont(font);
    // Lists are set in the fixed font of lists and printouts.
    m_grid.SetFontName(g.FixedFontName);
    m_grid.SetFontSize(WindowPoints);
}

int frmList::RowHeightFor(int row) const
{
    // A title longer than the title column ("Calculation type of ground elasiticity
    // coefficient") wraps onto a second line rather than being cut off.
    const QFontMetrics metrics(MSFList->font());
    const int width = TwipsToPixels(ListTitleWidth) - 2 * CellPaddingPixels;
    const QRect needed =
        metrics.boundingRect(QRect(0, 0, width, 1000), Qt::TextWordWrap, m_grid.Text(row, 0));
    return std::max(ListRowHeight, PixelsToTwips(needed.height() + 2 * CellPaddingPixels));
}

void frmList::PlaceControls()
{
    const ListGeometry geometry = ListGeometryFor(m_context.Logger.ChannelCount);
    MSFList->setWordWrap(true);
    int rowsHeight = 0;
    for (int r = 0; r < m_grid.Rows(); ++r) {
        m_grid.SetRowHeight(r, RowHeightFor(r));
        rowsHeight += m_grid.RowHeight(r);
    }
    // The calculation type is one word that is wider than a channel column: it may use
    // the empty cells beside it.
    if (m_grid.Cols() > 2)
        MSFList->setSpan(CalcTypeRow, 1, 1, m_grid.Cols() - 1);
    // The frame of the table lies outside its cells.
    const int frame = PixelsToTwips(2 * MSFList->frameWidth());
    const int tableHeight = rowsHeight + frame;
    MSFList->setGeometry(TwipsToPixels(Border), TwipsToPixels(Border),
                         TwipsToPixels(geometry.TableWidth + frame), TwipsToPixels(tableHeight));
    MSFList->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    MSFList->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    const int buttonTop = Border + tableHeight + Border;
    BackButton()->setGeometry(TwipsToPixels(geometry.ReturnButtonLeft), TwipsToPixels(buttonTop),
                              TwipsToPixels(ButtonWidth), TwipsToPixels(ButtonHeight));
    PrintButton()->setGeometry(TwipsToPixels(geometry.ReturnButtonLeft - ButtonGap - ButtonWidth),
                               TwipsToPixels(buttonTop), TwipsToPixels(ButtonWidth),
                               TwipsToPixels(ButtonHeight));
    setFixedSize(TwipsToPixels(geometry.WindowWidth),
                 TwipsToPixels(buttonTop + ButtonHeight + Border));
}

void frmList::Command1_Click(int index)
{
    if (index == 0) {
        accept();
        return;
    }
    Printing.Print(QStringLiteral("Settings"), [this](PrintPage& page) {
        return PrintSettings(page, m_context.Logger, m_context.G);
    });
}

void frmList::MSFList_KeyDown(int key, Qt::KeyboardModifiers)
{
    // The key alone decides: Shift, Ctrl and Alt make no difference.
    if (key == Qt::Key_C && m_context.Clipboard)
        CopyListSelection(m_grid, *m_context.Clipboard, m_context.G.TabSeparator);
}
