#pragma once
// A symbolic icon of the desktop's theme drawn in the text colour of the
// palette in effect at the time it is painted, so symbols stay readable in
// the dark appearance and follow a change of appearance without rebuilding.

#include <QIcon>
#include <QIconEngine>

namespace mirelo {

class SymbolIconEngine : public QIconEngine {
public:
    explicit SymbolIconEngine(QIcon source) : source_(std::move(source)) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override;
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override;
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale) override;
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override;
    QIconEngine* clone() const override { return new SymbolIconEngine(source_); }
    QString key() const override { return QStringLiteral("mirelo-symbol"); }
    bool isNull() override { return source_.isNull(); }

private:
    QIcon source_;
};

} // namespace mirelo
