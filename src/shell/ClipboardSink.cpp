#include "ClipboardSink.h"

#include <QClipboard>
#include <QGuiApplication>

void SystemClipboard::Clear()
{
    QGuiApplication::clipboard()->clear();
}

void SystemClipboard::SetText(const QString& text)
{
    QGuiApplication::clipboard()->setText(text);
}

QString SystemClipboard::Text() const
{
    return QGuiApplication::clipboard()->text();
}
