#include "RecordingPage.h"

namespace
{
RecordingPage::Op MakeOp(RecordingPage::Kind kind, float x1 = 0, float y1 = 0, float x2 = 0,
                         float y2 = 0)
{
    RecordingPage::Op op;
    op.What = kind;
    op.X1 = x1;
    op.Y1 = y1;
    op.X2 = x2;
    op.Y2 = y2;
    return op;
}
} // namespace

bool RecordingPage::Begin(const PageSetup& setup)
{
    ++BeginCalls;
    if (FailBegin)
        return false;
    Setup = setup;
    Ops.push_back(MakeOp(Kind::Begin));
    return true;
}

bool RecordingPage::NewPage()
{
    Ops.push_back(MakeOp(Kind::NewPage));
    return true;
}

bool RecordingPage::End()
{
    ++EndCalls;
    Ops.push_back(MakeOp(Kind::End));
    return true;
}

void RecordingPage::Line(float x1, float y1, float x2, float y2, uint32_t colour)
{
    Op op = MakeOp(Kind::Line, x1, y1, x2, y2);
    op.Colour = colour;
    Ops.push_back(op);
}

void RecordingPage::Box(float x1, float y1, float x2, float y2, uint32_t colour)
{
    Op op = MakeOp(Kind::Box, x1, y1, x2, y2);
    op.Colour = colour;
    Ops.push_back(op);
}

void RecordingPage::Text(float x, float y, const QString& text)
{
    Op op = MakeOp(Kind::Text, x, y);
    op.Text = text;
    op.Size = m_size;
    Ops.push_back(op);
}

float RecordingPage::TextWidth(const QString& text) const
{
    return float(text.size()) * float(m_size) * CharWidthPerPoint;
}

void RecordingPage::SetFontSize(int points)
{
    m_size = points;
    Op op = MakeOp(Kind::FontSize);
    op.Size = points;
    Ops.push_back(op);
}

std::vector<RecordingPage::Op> RecordingPage::Texts() const
{
    return OfKind(Kind::Text);
}

std::vector<RecordingPage::Op> RecordingPage::OfKind(Kind kind) const
{
    std::vector<Op> found;
    for (const Op& op : Ops) {
        if (op.What == kind)
            found.push_back(op);
    }
    return found;
}

const RecordingPage::Op* RecordingPage::FindText(const QString& text) const
{
    for (const Op& op : Ops) {
        if (op.What == Kind::Text && op.Text == text)
            return &op;
    }
    return nullptr;
}

int RecordingPage::Pages() const
{
    int pages = 0;
    for (const Op& op : Ops) {
        if (op.What == Kind::Begin || op.What == Kind::NewPage)
            ++pages;
    }
    return pages;
}
