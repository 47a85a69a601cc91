#pragma once

#include <QString>

// Plain-text clipboard.
class ClipboardSink
{
public:
    virtual ~ClipboardSink() = default;
    virtual void Clear() = 0;
    virtual void SetText(const QString& text) = 0;
    virtual QString Text() const = 0;
};

// The system clipboard of the running GUI application.
class SystemClipboard : public ClipboardSink
{
public:
    void Clear() override;
    void SetText(const QString& text) override;
    QString Text() const override;
};

class MemoryClipboard : public ClipboardSink
{
public:
    void Clear() override { m_text.clear(); }
    void SetText(const QString& text) override { m_text = text; }
    QString Text() const override { return m_text; }

private:
    QString m_text;
};
