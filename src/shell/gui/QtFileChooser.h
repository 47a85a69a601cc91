#pragma once

#include "shell/FileChooser.h"

// Asks with a QFileDialog over the window the operator works in.
class QtFileChooser : public FileChooser
{
public:
    QString Choose(const FileQuestion& question) override;
};
