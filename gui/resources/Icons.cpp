#include "resources/Icons.h"

#include <QApplication>
#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QStyle>
#include <QStyleOption>

#include <array>

namespace kestrel::icons {

namespace {

// Draws on a square of `grid` units; the engine scales it to the pixels.
using Drawing = void (*)(QPainter&);

class PaintedIconEngine : public QIconEngine {
public:
    PaintedIconEngine(Drawing drawing, qreal grid) : drawing_(drawing), grid_(grid) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
        QPixmap picture = pixmap((QSizeF(rect.size()) * ratio).toSize(), mode, state);
        picture.setDevicePixelRatio(ratio);
        painter->drawPixmap(rect, picture);
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State) override
    {
        QPixmap picture(size.isEmpty() ? QSize(1, 1) : size);
        picture.fill(Qt::transparent);
        {
            QPainter painter(&picture);
            painter.setRenderHint(QPainter::Antialiasing);
            const qreal side = qMin(picture.width(), picture.height());
            painter.translate((picture.width() - side) / 2, (picture.height() - side) / 2);
            painter.scale(side / grid_, side / grid_);
            drawing_(painter);
        }
        if (mode == QIcon::Disabled || mode == QIcon::Selected) {
            if (const QStyle* style = QApplication::style()) {
                QStyleOption option;
                return style->generatedIconPixmap(mode, picture, &option);
            }
        }
        return picture;
    }

    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override { return size; }

    QIconEngine* clone() const override { return new PaintedIconEngine(drawing_, grid_); }

    QString key() const override { return QStringLiteral("kestrel-painted"); }

private:
    Drawing drawing_;
    qreal grid_;
};

// Toolbar icons are drawn on a 16-unit grid, where one unit is one pixel at
// the usual size; lines sit on half units so they fall on whole pixels.
constexpr qreal toolGrid = 16.0;

QIcon Make(Drawing drawing, qreal grid = toolGrid)
{
    return QIcon(new PaintedIconEngine(drawing, grid));
}

const QColor ink(0x20, 0x20, 0x20);
const QColor paper(0xFF, 0xFF, 0xFF);

QPen Line(const QColor& colour, qreal width = 1.0)
{
    return QPen(colour, width, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin);
}

void Bars(QPainter& painter, qreal left, qreal top, qreal height)
{
    // A short run of wide and narrow bars, enough to read as a barcode.
    constexpr std::array<std::pair<qreal, qreal>, 6> bars{
        {{0, 1}, {2, 2}, {5, 1}, {7, 1}, {9, 2}, {12, 1}}};
    for (const auto& [x, width] : bars) {
        painter.fillRect(QRectF(left + x, top, width, height), ink);
    }
}

void DrawProgram(QPainter& painter)
{
    // 48-unit grid, the same shapes as kestrel.svg.
    painter.setPen(QPen(QColor(0x1F, 0x4E, 0x8C), 2));
    painter.setBrush(paper);
    painter.drawRoundedRect(QRectF(3, 7, 42, 34), 4, 4);
    constexpr std::array<std::pair<qreal, qreal>, 7> bars{
        {{9, 2}, {13, 4}, {19, 2}, {23, 2}, {27, 4}, {33, 2}, {37, 2}}};
    for (const auto& [x, width] : bars) {
        painter.fillRect(QRectF(x, 13, width, 18), ink);
    }
    painter.fillRect(QRectF(9, 34, 30, 2), QColor(0xD9, 0x6C, 0x1A));
}

void DrawCodeInput(QPainter& painter)
{
    painter.setPen(Line(ink));
    painter.setBrush(paper);
    painter.drawRect(QRectF(0.5, 2.5, 12, 11));
    Bars(painter, 2, 4, 8);
    // A pencil across the corner: entering the data.
    QPainterPath pencil;
    pencil.moveTo(7.5, 15.5);
    pencil.lineTo(8.5, 12.5);
    pencil.lineTo(13.5, 7.5);
    pencil.lineTo(15.5, 9.5);
    pencil.lineTo(10.5, 14.5);
    pencil.closeSubpath();
    painter.setBrush(QColor(0xE8, 0xB0, 0x30));
    painter.drawPath(pencil);
}

void DrawComment(QPainter& painter)
{
    painter.setPen(Line(ink));
    painter.setBrush(paper);
    painter.drawRect(QRectF(2.5, 4.5, 11, 7));
    Bars(painter, 2.5, 5, 6.5);
    // Text lines above and below the code.
    painter.setPen(Line(QColor(0x1F, 0x4E, 0x8C)));
    painter.drawLine(QPointF(3.5, 1.5), QPointF(12.5, 1.5));
    painter.drawLine(QPointF(3.5, 14.5), QPointF(12.5, 14.5));
}

void DrawColours(QPainter& painter)
{
    painter.setPen(Line(ink));
    painter.setBrush(QColor(0xD0, 0x30, 0x30));
    painter.drawEllipse(QRectF(0.5, 0.5, 8, 8));
    painter.setBrush(QColor(0x30, 0xA0, 0x40));
    painter.drawEllipse(QRectF(7.5, 0.5, 8, 8));
    painter.setBrush(QColor(0x30, 0x50, 0xD0));
    painter.drawEllipse(QRectF(4, 7.5, 8, 8));
}

void DrawCopy(QPainter& painter)
{
    painter.setPen(Line(ink));
    painter.setBrush(paper);
    painter.drawRect(QRectF(0.5, 0.5, 9, 11));
    painter.drawRect(QRectF(6.5, 4.5, 9, 11));
    painter.drawLine(QPointF(8.5, 7.5), QPointF(13.5, 7.5));
    painter.drawLine(QPointF(8.5, 9.5), QPointF(13.5, 9.5));
    painter.drawLine(QPointF(8.5, 11.5), QPointF(13.5, 11.5));
}

void DrawPrint(QPainter& painter)
{
    painter.setPen(Line(ink));
    painter.setBrush(paper);
    painter.drawRect(QRectF(3.5, 0.5, 9, 6));
    painter.setBrush(QColor(0xB8, 0xB8, 0xB8));
    painter.drawRect(QRectF(0.5, 6.5, 15, 6));
    painter.setBrush(paper);
    painter.drawRect(QRectF(3.5, 10.5, 9, 5));
    painter.fillRect(QRectF(12, 8, 2, 1), QColor(0x30, 0xA0, 0x40));
}

void DrawAbout(QPainter& painter)
{
    painter.setPen(Line(QColor(0x1F, 0x4E, 0x8C)));
    painter.setBrush(QColor(0xE8, 0xF0, 0xFF));
    painter.drawEllipse(QRectF(0.5, 0.5, 15, 15));
    QFont font = painter.font();
    font.setBold(true);
    font.setPixelSize(12);
    painter.setFont(font);
    painter.drawText(QRectF(0, 0, 16, 16), Qt::AlignCenter, QStringLiteral("?"));
}

}  // namespace

QIcon Program()
{
    return Make(DrawProgram, 48.0);
}
QIcon CodeInput()
{
    return Make(DrawCodeInput);
}
QIcon Comment()
{
    return Make(DrawComment);
}
QIcon Colours()
{
    return Make(DrawColours);
}
QIcon Copy()
{
    return Make(DrawCopy);
}
QIcon Print()
{
    return Make(DrawPrint);
}
QIcon About()
{
    return Make(DrawAbout);
}

}  // namespace kestrel::icons
