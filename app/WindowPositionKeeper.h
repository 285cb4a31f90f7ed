#pragma once

#include <QObject>
#include <QSize>
#include <functional>

class QWidget;

// Keeps a window's outer frame in the settings file ("Position": Top, Left, Height, Width) and
// puts it back, through WindowPlacement's rules. A window is framed by the window manager only
// once it is on screen, so a restore asked for earlier waits until the window is exposed.
class WindowPositionKeeper : public QObject
{
    Q_OBJECT
public:
    // Access to the settings file; without it nothing is restored or saved.
    struct Settings {
        // The integer of section/key, or fallback when the file, the key or a number is missing.
        std::function<int(const QString& section, const QString& key, int fallback)> readInteger;
        // Throws BcfgError with the text for the error box when the file cannot be written.
        std::function<void(const QString& section, const QString& key, int value)> writeInteger;
    };

    // minimumOuter: the smallest outer size a restore gives the window. designOuter: the size
    // it takes, centred, when the saved frame lies off every screen.
    WindowPositionKeeper(QWidget* window, const QSize& minimumOuter, const QSize& designOuter);

    void SetSettings(Settings settings) { m_settings = std::move(settings); }
    void SetDesignOuterSize(const QSize& designOuter) { m_designOuter = designOuter; }

    // Applies the saved frame now, or as soon as the window is on screen.
    void Restore();
    // A restore waits for the window to be on screen.
    bool Pending() const { return m_pending; }
    // Writes the window's outer frame; an error is shown in a box.
    void Save();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void restoreNow();

    QWidget* m_window;
    QSize m_minimumOuter;
    QSize m_designOuter;
    Settings m_settings;
    bool m_pending = false;
    bool m_scheduled = false;
};
