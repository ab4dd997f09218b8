#pragma once

#include "platform/MessageBoxes.h"
#include "platform/Notifications.h"
#include "platform/Shell.h"
#include "platform/SoundDevice.h"
#include "platform/files/DiskTextFiles.h"
#include "platform/files/TextFiles.h"

#include <QFileInfo>
#include <QList>
#include <QStringList>
#include <QUrl>

#include <functional>

// Records every sound instead of playing it.
class RecordingSound final : public SoundDevice
{
public:
    void preload(const QString& path) override { preloaded.append(QFileInfo(path).fileName()); }
    Readiness readiness(const QString& path) const override
    {
        const QString name = QFileInfo(path).fileName();
        return unplayable.contains(name) ? Unplayable : loading.contains(name) ? Loading : Ready;
    }
    void play(const QString& path) override
    {
        played.append(QFileInfo(path).fileName());
        if (onPlay)
            onPlay();
    }
    QStringList preloaded;
    QStringList played;
    QStringList unplayable, loading; // file names the player cannot play, or has not readied yet
    std::function<void()> onPlay;    // lets a test see what the window showed when the sound started
};

// Answers message boxes and file dialogs from queues; an empty queue answers Yes. Records every text shown.
class ScriptedMessageBoxes final : public MessageBoxes
{
public:
    void inform(const QString& text) override { shown.append(text); }
    bool confirm(const QString& text) override
    {
        shown.append(text);
        ++confirmations;
        if (whileOpen)
            whileOpen();
        return answers.isEmpty() ? true : answers.takeFirst();
    }
    std::optional<int> ask(const QString& text, const QStringList&) override
    {
        shown.append(text);
        return choices.isEmpty() ? std::nullopt : choices.takeFirst();
    }
    QString chooseSaveFile(const QString& title, const QString&, const QStringList&) override
    {
        shown.append(title);
        return savePaths.isEmpty() ? QString() : savePaths.takeFirst();
    }
    QString chooseFile(const QString& title, const QString&, const QString&) override
    {
        shown.append(title);
        return files.isEmpty() ? QString() : files.takeFirst();
    }
    std::optional<QString> askText(const QString& title, const QString&, const QString&) override
    {
        shown.append(title);
        return texts.isEmpty() ? std::nullopt : std::optional<QString>(texts.takeFirst());
    }
    QStringList shown;
    QStringList texts;                 // what the text dialogs are given; an empty queue cancels
    QList<std::optional<int>> choices; // the answers to ask(); an empty queue cancels
    QStringList savePaths;             // the files chosen to write; an empty queue cancels
    QList<bool> answers;
    QStringList files; // what the file dialogs choose; an empty queue cancels
    int confirmations = 0;
    std::function<void()> whileOpen; // what happens while a confirmation is on view
};

// Records every notification; a test presses its buttons with press().
class RecordingNotifications final : public Notifications
{
public:
    int notify(const QString& title, const QString& text, const QList<Action>& buttons) override
    {
        sent.append({title, text});
        QStringList keys;
        for (const Action& action : buttons)
            keys << action.key;
        actions.append(keys);
        return int(sent.size());
    }
    void withdraw(int handle) override { withdrawn.append(handle); }
    void press(int handle, const QString& key) { emit actionInvoked(handle, key); }
    QList<QStringList> sent;    // title and text of each
    QList<QStringList> actions; // the keys of each one's buttons
    QList<int> withdrawn;       // handles, in order
};

class RecordingShell final : public Shell
{
public:
    bool openUrl(const QUrl& url) override
    {
        opened.append(url);
        return succeeds;
    }
    QList<QUrl> opened;
    bool succeeds = true;
};

// The disk, with writes that can be made to fail as a full disk would.
class FaultyTextFiles final : public TextFiles
{
public:
    bool exists(const QString& path) const override { return disk.exists(path); }
    Read read(const QString& path) const override
    {
        if (failReadsOf.contains(QFileInfo(path).fileName()))
            return Result::failed(QStringLiteral("Input/output error"));
        return disk.read(path);
    }
    Result append(const QString& path, const QByteArray& bytes) override
    {
        if (failWritesTo.contains(QFileInfo(path).fileName()))
            return Result::failed(QStringLiteral("No space left on device"));
        return disk.append(path, bytes);
    }
    Result replace(const QString& path, const QByteArray& bytes) override
    {
        if (failWritesTo.contains(QFileInfo(path).fileName()))
            return Result::failed(QStringLiteral("No space left on device"));
        return disk.replace(path, bytes);
    }
    std::unique_ptr<Hold> holdFolderOf(const QString& path) override { return disk.holdFolderOf(path); }
    QStringList failWritesTo; // file names
    QStringList failReadsOf;  // file names
    DiskTextFiles disk;
};
