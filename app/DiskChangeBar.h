#pragma once

#include <QFrame>

class DiskWatch;
class DocumentSession;
class MainTree;
class QLabel;
class QPushButton;

// The strip over the top of the tree that tells, without interrupting, that another program
// changed or removed the open file: Reload reads it again (asking first when there are unsaved
// changes), Compare lists how the document differs from it, Ignore hides the strip until the
// file changes again. Further changes while it is shown keep the one strip; it goes by itself
// when the file holds what was last read or written again. A child of the tree, in the
// popups' colours, as the find bar is.
class DiskChangeBar : public QFrame
{
    Q_OBJECT
public:
    DiskChangeBar(DocumentSession& session, MainTree* tree);

    DiskWatch* Watch() const { return m_watch; }
    QLabel* Text() const { return m_text; }
    QPushButton* ReloadButton() const { return m_reload; }
    QPushButton* CompareButton() const { return m_compare; }
    QPushButton* IgnoreButton() const { return m_ignore; }
    // How often the strip has appeared so far.
    int TimesShown() const { return m_timesShown; }

    void Reload();
    void Compare();
    void Ignore();

private:
    void announce(bool missing);
    void dismiss();
    void place();
    bool eventFilter(QObject* watched, QEvent* event) override;

    DocumentSession& m_session;
    MainTree* m_tree;
    DiskWatch* m_watch;
    QLabel* m_text;
    QPushButton* m_reload;
    QPushButton* m_compare;
    QPushButton* m_ignore;
    int m_timesShown = 0;
};
