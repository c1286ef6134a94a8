#pragma once
// The " Опции " panel: a control for every player option, each showing what
// the store holds and writing the user's changes back to it.

#include "model/PlayerOptions.h"

#include <QObject>

#include <functional>
#include <map>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QPushButton;
class QWidget;

namespace qm::app {

class OptionsStore;
class OptionCheckBox;

class OptionsPanel : public QObject {
    Q_OBJECT

  public:
    OptionsPanel(QWidget* client, OptionsStore& store);

    QComboBox* list(Choice choice) const { return lists_.at(choice); }
    QPushButton* htmlBgButton() const { return htmlBgButton_; }
    QPushButton* blackAreaButton() const { return blackAreaButton_; }
    QLabel* htmlBgSwatch() const { return htmlBgSwatch_; }
    QLabel* blackAreaSwatch() const { return blackAreaSwatch_; }

    // 0x00BBGGRR as the colour it stands for, and back.
    static QColor toQColor(std::uint32_t colour);
    static std::uint32_t fromQColor(const QColor& colour);

  signals:
    // A user's command on one of the panel's controls (a list choice, a click).
    void commandIssued();

  private:
    QLabel* addCaption(const QString& text, const char* name, int x, int y, int height = 19);
    QComboBox* addList(Choice choice, const char* name, int y);
    OptionCheckBox* addCheck(const QString& text, const char* name, int y);
    QLineEdit* addDigitsBox(const char* name, const QRect& geometry, bool centred);
    QLabel* addSwatch(const char* name, const QRect& geometry);
    QPushButton* addFlatButton(const char* name, const QRect& geometry);
    void buildFrame();
    void buildRows();
    void buildManualSizeRow();
    void buildColourRow();
    void buildViewModeGroup();
    void buildTitleRow();
    void bindSwitch(OptionCheckBox* box, bool PlayerOptions::*flag);
    void bindTransientSwitch(OptionCheckBox* box, bool TransientSettings::*flag);
    void bindTransientText(QLineEdit* box, std::string TransientSettings::*text);
    void refresh();

    QWidget* client_;
    OptionsStore& store_;
    std::map<Choice, QComboBox*> lists_;
    QLabel* htmlBgSwatch_ = nullptr;
    QLabel* blackAreaSwatch_ = nullptr;
    QPushButton* htmlBgButton_ = nullptr;
    QPushButton* blackAreaButton_ = nullptr;
    QRadioButton* classic_ = nullptr;
    QRadioButton* blackAreas_ = nullptr;
    QLineEdit* titleBox_ = nullptr;
    std::vector<std::function<void()>> refreshers_;
};

} // namespace qm::app
