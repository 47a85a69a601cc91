#pragma once

#include <QString>
#include <deque>
#include <vector>

// What a file dialog asks: where to save, which file to open, or which folder.
struct FileQuestion {
    enum class Kind { Save, Open, Folder };
    Kind What = Kind::Save;
    QString Suggested; // the folder, or the folder and the name offered for a save
    QString Filter;    // "PDF (*.pdf)"; none for a folder
};

// Every question for a path goes through here, as every message goes through MessageSink:
// the windows hand it the chooser that shows a QFileDialog, tests hand it a ScriptedFiles
// with the paths they choose. An empty answer: the operator cancelled.
class FileChooser
{
public:
    virtual ~FileChooser() = default;
    virtual QString Choose(const FileQuestion& question) = 0;
};

// Records each question and answers from a script; cancels once the script has run out.
class ScriptedFiles : public FileChooser
{
public:
    QString Choose(const FileQuestion& question) override
    {
        Asked.push_back(question);
        if (Answers.empty())
            return {};
        QString answer = Answers.front();
        Answers.pop_front();
        return answer;
    }
    std::vector<FileQuestion> Asked;
    std::deque<QString> Answers;
};
