// The folder list: the folders above the current one, the current folder and its subfolders.
#pragma once

#include "ui/BrowserLists.h"

#include <QIcon>
#include <QListWidget>

namespace quorvane::ui {

class DirectoryListBox : public QListWidget, public FolderList {
    Q_OBJECT
public:
    explicit DirectoryListBox(QWidget *parent = nullptr);

    void showFolder(const std::string &path, const std::vector<FolderEntry> &entries, int current) override;
    std::string path() override { return m_path.toStdString(); }
    std::string highlightedPath() override;

signals:
    // The user opened an entry (double-click, or Enter on the highlighted one).
    void openRequested(const std::string &path);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    QString m_path;
    // Looked up once: each theme look-up probes dozens of icon folders.
    QIcon m_openIcon;
    QIcon m_closedIcon;
};

} // namespace quorvane::ui
