#include "ui/ToolIcons.h"

#include <QApplication>
#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QStyle>
#include <QStyleOption>
#include <map>
#include <tuple>

namespace tarvane {

namespace {

// An image drawn on a 20x20 design grid, at the size and pixel ratio it is
// shown at: sharp on any screen, and nothing is drawn before it is first shown.
class DrawnIcon : public QIconEngine {
  public:
    explicit DrawnIcon(std::function<void(QPainter&)> draw) : draw_(std::move(draw)) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
        const qreal ratio = painter->device() ? painter->device()->devicePixelRatio() : 1.0;
        QPixmap pm = scaledPixmap(rect.size() * ratio, mode, state, ratio);
        pm.setDevicePixelRatio(ratio);
        painter->drawPixmap(rect, pm);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return scaledPixmap(size, mode, state, 1.0);
    }
    // `size` is in device pixels here, as QIcon asks for it.
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State, qreal) override {
        if (size.isEmpty()) return {};
        const bool disabled = mode == QIcon::Disabled;
        QPixmap& pm = cache_[{size.width(), size.height(), disabled}];
        if (!pm.isNull()) return pm;
        pm = QPixmap(size);
        pm.fill(Qt::transparent);
        QPainter g(&pm);
        g.setRenderHint(QPainter::Antialiasing);
        g.scale(size.width() / 20.0, size.height() / 20.0);
        draw_(g);
        g.end();
        if (disabled) {
            QStyleOption option;
            option.palette = QApplication::palette();
            pm = QApplication::style()->generatedIconPixmap(QIcon::Disabled, pm, &option);
        }
        return pm;
    }
    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override { return size; }
    QIconEngine* clone() const override { return new DrawnIcon(draw_); }
    QString key() const override { return QStringLiteral("DrawnIcon"); }

  private:
    std::function<void(QPainter&)> draw_;
    std::map<std::tuple<int, int, bool>, QPixmap> cache_;
};

QIcon Drawn(std::function<void(QPainter&)> draw) {
    return QIcon(new DrawnIcon(std::move(draw)));
}

void Sheet(QPainter& g, int x, int y) {
    g.setPen(QPen(QColor(70, 70, 70), 1));
    g.setBrush(QColor(250, 250, 250));
    g.drawRect(QRectF(x + 0.5, y + 0.5, 10, 12));
    g.setPen(QPen(QColor(150, 150, 150), 1));
    for (int i = 0; i < 3; ++i)
        g.drawLine(QPointF(x + 2.5, y + 3.5 + 3 * i), QPointF(x + 8.5, y + 3.5 + 3 * i));
}

void Arrow(QPainter& g, bool up, const QColor& c) {
    g.setPen(Qt::NoPen);
    g.setBrush(c);
    QPainterPath path;
    if (up) {
        path.moveTo(10, 2);
        path.lineTo(17, 10);
        path.lineTo(13, 10);
        path.lineTo(13, 18);
        path.lineTo(7, 18);
        path.lineTo(7, 10);
        path.lineTo(3, 10);
    } else {
        path.moveTo(10, 18);
        path.lineTo(17, 10);
        path.lineTo(13, 10);
        path.lineTo(13, 2);
        path.lineTo(7, 2);
        path.lineTo(7, 10);
        path.lineTo(3, 10);
    }
    path.closeSubpath();
    g.drawPath(path);
}

// A page with its top right corner folded.
void Page(QPainter& g) {
    QPainterPath p;
    p.moveTo(4.5, 1.5);
    p.lineTo(12.5, 1.5);
    p.lineTo(16.5, 5.5);
    p.lineTo(16.5, 18.5);
    p.lineTo(4.5, 18.5);
    p.closeSubpath();
    g.setPen(QPen(QColor(70, 70, 70), 1));
    g.setBrush(QColor(250, 250, 250));
    g.drawPath(p);
    g.setBrush(QColor(210, 210, 210));
    g.drawPolygon(QPolygonF{{12.5, 1.5}, {12.5, 5.5}, {16.5, 5.5}});
}

void Folder(QPainter& g) {
    g.setPen(QPen(QColor(120, 90, 30), 1));
    g.setBrush(QColor(220, 180, 90));
    QPainterPath back;
    back.moveTo(1.5, 4.5);
    back.lineTo(7.5, 4.5);
    back.lineTo(9.5, 6.5);
    back.lineTo(17.5, 6.5);
    back.lineTo(17.5, 16.5);
    back.lineTo(1.5, 16.5);
    back.closeSubpath();
    g.drawPath(back);
    g.setBrush(QColor(245, 210, 120));
    g.drawPolygon(QPolygonF{{1.5, 16.5}, {4.5, 9.5}, {19.5, 9.5}, {17.5, 16.5}});
}

void Disk(QPainter& g) {
    g.setPen(QPen(QColor(30, 50, 90), 1));
    g.setBrush(QColor(60, 100, 170));
    g.drawRoundedRect(QRectF(2.5, 2.5, 15, 15), 1.5, 1.5);
    g.setBrush(QColor(235, 235, 235));
    g.drawRect(QRectF(5.5, 2.5, 9, 6));
    g.setBrush(QColor(60, 100, 170));
    g.drawRect(QRectF(11.5, 3.5, 2, 4));
    g.setBrush(QColor(250, 250, 250));
    g.drawRect(QRectF(5.5, 11.5, 9, 6));
}

void Info(QPainter& g) {
    g.setPen(Qt::NoPen);
    g.setBrush(QColor(40, 110, 190));
    g.drawEllipse(QPointF(10, 10), 8.5, 8.5);
    g.setBrush(Qt::white);
    g.drawEllipse(QPointF(10, 5.5), 1.5, 1.5);
    g.drawRoundedRect(QRectF(8.6, 8, 2.8, 7.5), 1, 1);
}

// The radio's case, display and knob, its top at `top`.
void RadioBody(QPainter& g, double top) {
    g.setPen(QPen(QColor(40, 40, 40), 1));
    g.setBrush(QColor(90, 100, 120));
    g.drawRoundedRect(QRectF(1.5, top, 17, 9), 2, 2);
    g.setBrush(QColor(170, 230, 170));
    g.drawRect(QRectF(3.5, top + 2, 7, 4));
    g.setBrush(QColor(200, 200, 200));
    g.drawEllipse(QPointF(14.5, top + 4.5), 2, 2);
}

// A radio with an arrow into it (write) or out of it (read).
void Radio(QPainter& g, bool write) {
    RadioBody(g, 9.5);
    g.setPen(Qt::NoPen);
    g.setBrush(write ? QColor(200, 60, 40) : QColor(40, 120, 200));
    QPainterPath a;
    if (write) { // pointing down into the radio
        a.moveTo(10, 9);
        a.lineTo(15, 4);
        a.lineTo(12, 4);
        a.lineTo(12, 0);
        a.lineTo(8, 0);
        a.lineTo(8, 4);
        a.lineTo(5, 4);
    } else { // pointing up out of the radio
        a.moveTo(10, 0);
        a.lineTo(15, 5);
        a.lineTo(12, 5);
        a.lineTo(12, 9);
        a.lineTo(8, 9);
        a.lineTo(8, 5);
        a.lineTo(5, 5);
    }
    a.closeSubpath();
    g.drawPath(a);
}

} // namespace

QIcon ToolIcon(const QString& key) {
    if (key == "NewFile" || key == "Page") return Drawn(Page);
    if (key == "OpenFile") return Drawn(Folder);
    if (key == "SaveFile") return Drawn(Disk);
    if (key == "About") return Drawn(Info);
    if (key == "Radio") return Drawn([](QPainter& g) { RadioBody(g, 6.5); });
    if (key == "ReadRadio") return Drawn([](QPainter& g) { Radio(g, false); });
    if (key == "WriteRadio") return Drawn([](QPainter& g) { Radio(g, true); });
    if (key == "Print")
        return Drawn([](QPainter& g) {
            g.setPen(QPen(QColor(60, 60, 60), 1));
            g.setBrush(QColor(250, 250, 250));
            g.drawRect(QRectF(5.5, 1.5, 9, 6));
            g.setBrush(QColor(150, 150, 160));
            g.drawRoundedRect(QRectF(1.5, 7.5, 17, 7), 1.5, 1.5);
            g.setBrush(QColor(250, 250, 250));
            g.drawRect(QRectF(5.5, 12.5, 9, 6));
        });
    if (key == "CommSet")
        return Drawn([](QPainter& g) { // a serial plug
            g.setPen(QPen(QColor(40, 40, 40), 1));
            g.setBrush(QColor(120, 130, 150));
            QPainterPath d;
            d.moveTo(1.5, 6.5);
            d.lineTo(18.5, 6.5);
            d.lineTo(16, 14.5);
            d.lineTo(4, 14.5);
            d.closeSubpath();
            g.drawPath(d);
            g.setBrush(QColor(240, 220, 120));
            for (int i = 0; i < 5; ++i)
                g.drawEllipse(QPointF(4.5 + 2.75 * i, 9.5), 0.9, 0.9);
            for (int i = 0; i < 4; ++i)
                g.drawEllipse(QPointF(5.9 + 2.75 * i, 12), 0.9, 0.9);
        });
    if (key == "BtnCHCut")
        return Drawn([](QPainter& g) {
            g.setPen(QPen(QColor(60, 60, 60), 1.5));
            g.drawLine(QPointF(6, 2), QPointF(13, 13));
            g.drawLine(QPointF(14, 2), QPointF(7, 13));
            g.setBrush(Qt::NoBrush);
            g.setPen(QPen(QColor(190, 40, 40), 1.5));
            g.drawEllipse(QPointF(6, 15.5), 2.6, 2.6);
            g.drawEllipse(QPointF(14, 15.5), 2.6, 2.6);
        });
    if (key == "BtnCHCopy")
        return Drawn([](QPainter& g) {
            Sheet(g, 2, 1);
            Sheet(g, 7, 6);
        });
    if (key == "BtnCHPaste")
        return Drawn([](QPainter& g) {
            g.setPen(QPen(QColor(90, 60, 30), 1));
            g.setBrush(QColor(200, 160, 100));
            g.drawRoundedRect(QRectF(2.5, 2.5, 12, 15), 1.5, 1.5);
            g.setBrush(QColor(120, 120, 120));
            g.drawRect(QRectF(5.5, 1.5, 6, 3));
            Sheet(g, 8, 7);
        });
    if (key == "BtnCHInsert")
        return Drawn([](QPainter& g) {
            Sheet(g, 1, 1);
            g.setPen(QPen(QColor(30, 150, 50), 2.5));
            g.drawLine(QPointF(15, 9), QPointF(15, 19));
            g.drawLine(QPointF(10, 14), QPointF(20, 14));
        });
    if (key == "BtnCHDelete")
        return Drawn([](QPainter& g) {
            Sheet(g, 1, 1);
            g.setPen(QPen(QColor(200, 40, 40), 2.5));
            g.drawLine(QPointF(11, 10), QPointF(18, 17));
            g.drawLine(QPointF(18, 10), QPointF(11, 17));
        });
    if (key == "BtnCHMoveUp") return Drawn([](QPainter& g) { Arrow(g, true, QColor(40, 110, 190)); });
    if (key == "BtnCHMoveDown") return Drawn([](QPainter& g) { Arrow(g, false, QColor(40, 110, 190)); });
    return {};
}

QIcon CloseIcon(const QColor& ink) {
    return Drawn([ink](QPainter& g) {
        g.setPen(QPen(ink, 2, Qt::SolidLine, Qt::RoundCap));
        g.drawLine(QPointF(5, 5), QPointF(15, 15));
        g.drawLine(QPointF(15, 5), QPointF(5, 15));
    });
}

} // namespace tarvane
