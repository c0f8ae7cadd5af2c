#pragma once

#include <QColor>
#include <QPointer>
#include <QWidget>

namespace bw {

// A plain rectangle control: filled (button shadows) or outlined (frames around groups). The
// colour scheme sets both colours; a shape draws only what its style asks for.
class Shape : public QWidget {
    Q_OBJECT
  public:
    enum class Style { Filled, Outline };

    explicit Shape(QWidget* parent, Style style = Style::Filled);

    Style style() const { return style_; }
    QColor fillColor() const { return fill_; }
    QColor outlineColor() const { return outline_; }
    void SetFillColor(const QColor& color);
    void SetOutlineColor(const QColor& color);

    // The widget this shape shadows, or null.
    QWidget* target() const { return target_; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    friend Shape* AttachShadow(QWidget& target, const QString& name);
    void Follow();

    Style style_;
    QColor fill_ = Qt::gray;
    QColor outline_ = Qt::black;
    QPointer<QWidget> target_;
};

// How far a shadow lies right of and below its button, in twips.
inline constexpr int kShadowOffsetTwips = 120;

// A filled shape of the target's size, 120 twips right of and below it, stacked under it. It
// follows the target's moves, resizes, showing and hiding, so windows place only the target.
Shape* AttachShadow(QWidget& target, const QString& name);

}  // namespace bw
