// The folder list: the folders above the current one, the current folder and its subfolders.
#pragma once

#include <QIcon>
#include <QListWidget>

namespace quorvane::ui {

class DirectoryListBox : public QListWidget {
    Q_OBJECT
public:
    explicit DirectoryListBox(QWidget *parent = nullptr);

    // Shows `path` as the current folder, highlighted, with the given subfolder names below it.
    void showFolder(const QString &path, const QStringList &subfolders);
    // The current folder: the one last opened.
    QString path() const { return m_path; }
    // The highlighted entry's folder; the current folder until the user single-clicks another entry.
    QString highlightedPath() const;
    QString pathAt(int row) const;

signals:
    // The user opened an entry (double-click, or Enter on the highlighted one).
    void openRequested(const QString &path);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void addEntry(const QString &text, const QString &path, int depth, bool open);

    QString m_path;
    // Looked up once: each theme look-up probes dozens of icon folders.
    QIcon m_openIcon;
    QIcon m_closedIcon;
};

} // namespace quorvane::ui
