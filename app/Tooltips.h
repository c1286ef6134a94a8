#pragma once
// The help tips of the option controls: yellow on dark blue, titled
// "Information:" with the information icon, at most 300 pixels wide, shown
// 500 ms after the mouse comes to rest on a control and hidden after 5 s.
// Switched on and off as a whole.

#include <QObject>
#include <QPointer>
#include <QString>

#include <map>

class QFrame;
class QLabel;
class QTimer;
class QWidget;

namespace qm::app {

class Tooltips : public QObject {
    Q_OBJECT

  public:
    static constexpr int kMaxWidth = 300;
    static constexpr int kInitialDelayMs = 500;
    static constexpr int kPopDownMs = 5000;

    explicit Tooltips(QWidget* window);

    // Registers every control of the help table that the window holds.
    void registerAll();
    void registerTool(QWidget* control, const QString& text);
    QString textFor(const QWidget* control) const;

    void setActive(bool active);
    bool isActive() const { return active_; }

    // What the delay timer does when it runs out; public so tests need not wait.
    void showTipFor(QWidget* control);
    void hideTip();
    QFrame* popup() const { return popup_; }
    QLabel* popupText() const { return body_; }

    // The text as shown: every CR becomes a line break.
    static QString displayText(const QString& text);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void buildPopup(QWidget* window);
    void fitBody(const QString& shown);

    QWidget* window_;
    std::map<const QWidget*, QString> texts_;
    bool active_ = true;
    QFrame* popup_ = nullptr;
    QLabel* body_ = nullptr;
    QTimer* delay_ = nullptr;
    QTimer* popDown_ = nullptr;
    QPointer<QWidget> pending_;
};

} // namespace qm::app
