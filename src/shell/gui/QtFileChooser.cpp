#include "QtFileChooser.h"

#include <QApplication>
#include <QFileDialog>

QString QtFileChooser::Choose(const FileQuestion& question)
{
    QWidget* parent = QApplication::activeWindow();
    switch (question.What) {
    case FileQuestion::Kind::Save:
        return QFileDialog::getSaveFileName(parent, QString(), question.Suggested, question.Filter);
    case FileQuestion::Kind::Open:
        return QFileDialog::getOpenFileName(parent, QString(), question.Suggested, question.Filter);
    case FileQuestion::Kind::Folder:
        return QFileDialog::getExistingDirectory(parent, QString(), question.Suggested);
    }
    return {};
}
