#pragma once
// The About box: the product icon, title and build, and two links to the maker
// that open through the desktop (mail client and web browser).

#include <QDialog>
#include <QUrl>

#include <functional>

class QLabel;

namespace qm::app {

inline constexpr const char* kMakerShortName = "Quillmark";
inline constexpr const char* kMakerWebAddress = "https://quillmark.org";
inline constexpr const char* kMakerSupportAddress = "support@quillmark.org";

using UrlOpener = std::function<bool(const QUrl&)>;

class AboutBox : public QDialog {
    Q_OBJECT

  public:
    AboutBox(QWidget* owner, const QCursor& linkCursor, UrlOpener openUrl);

    // Dialog units of the dialog font as pixels.
    QRect toPixels(int x, int y, int width, int height) const;

    static QUrl supportUrl();
    static QUrl webUrl();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QLabel* addLink(const QString& text, const QString& name, const QRect& dialogUnits,
                    const QCursor& cursor);

    UrlOpener openUrl_;
    QLabel* supportLink_ = nullptr;
    QLabel* webLink_ = nullptr;
    int baseX_ = 6;
    int baseY_ = 13;
};

} // namespace qm::app
