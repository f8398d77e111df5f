#pragma once
// Whether anyone can see a window of Qt's on X, which Qt does not tell: the
// windows stacked over it cover it whole (the server's own word on that is
// never said of a window of another depth than the root's, as a desktop's
// translucent window is); under a compositing manager, which lets every
// window show, the focused window full-screen over it is the sign, as the
// window manager tells on the root window and on that window; and nobody
// sees anything while the server has the monitors powered down. A
// connection of its own listens, so that Qt's event masks stay as Qt set
// them.
#include <QHash>
#include <QObject>
#include <QRect>
#include <QSocketNotifier>
#include <QTimer>
#include <memory>

class QWindow;

class X11Sight : public QObject
{
    Q_OBJECT

public:
    // Null where Qt does not draw on X, or no X display can be reached.
    static X11Sight* instance();
    ~X11Sight() override;

    void watch(QWindow* window);
    bool hidden(QWindow* window) const;

signals:
    void changed();

private:
    explicit X11Sight(void* display);
    void read_events();
    void follow_active_window();
    void judge_stacking();
    void look_at_monitors();

    void* display; // Xlib's, kept out of the header: its macros clash with Qt's names
    std::unique_ptr<QSocketNotifier> events;
    QHash<unsigned long, bool> covered; // by window, by those stacked over it
    unsigned long active = 0;           // the focused window, as the window manager names it
    QRect active_area;                  // where it is full-screen; empty else
    // The server tells nobody of the monitors' power: it is asked each second.
    QTimer monitor_watch;
    bool monitors_off = false;
};
