#include "ui/ToolIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QStyle>

namespace tarvane {

namespace {

// A 20x20 image drawn with a few strokes; dark lines on a light document shape.
QIcon Drawn(const std::function<void(QPainter&)>& draw) {
    QPixmap pm(40, 40);
    pm.fill(Qt::transparent);
    QPainter g(&pm);
    g.setRenderHint(QPainter::Antialiasing);
    g.scale(2, 2);
    draw(g);
    g.end();
    pm.setDevicePixelRatio(2);
    return QIcon(pm);
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

// A radio with an arrow into it (write) or out of it (read).
void Radio(QPainter& g, bool write) {
    g.setPen(QPen(QColor(40, 40, 40), 1));
    g.setBrush(QColor(90, 100, 120));
    g.drawRoundedRect(QRectF(1.5, 9.5, 17, 9), 2, 2);
    g.setBrush(QColor(170, 230, 170));
    g.drawRect(QRectF(3.5, 11.5, 7, 4));
    g.setBrush(QColor(200, 200, 200));
    g.drawEllipse(QPointF(14.5, 14), 2, 2);
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

QIcon ToolIcon(const QString& key, QStyle* style) {
    if (key == "NewFile") return style->standardIcon(QStyle::SP_FileIcon);
    if (key == "OpenFile") return style->standardIcon(QStyle::SP_DirOpenIcon);
    if (key == "SaveFile") return style->standardIcon(QStyle::SP_DialogSaveButton);
    if (key == "About") return style->standardIcon(QStyle::SP_MessageBoxInformation);
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

} // namespace tarvane
