#include "Look.h"

#include <QFontDatabase>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QScreen>
#include <QStringList>

namespace {

QFont face(const QStringList& families, QFont::StyleHint hint, int pixels) {
  QFont font;
  font.setFamilies(families);
  font.setStyleHint(hint);
  font.setPixelSize(pixels);
  if (hint == QFont::TypeWriter) font.setFixedPitch(true);
  return font;
}

const QStringList kMono{"Courier New", "Liberation Mono", "DejaVu Sans Mono", "Monospace"};
const QStringList kSerif{"Times New Roman", "Liberation Serif", "DejaVu Serif", "Serif"};
const QStringList kMsSerif{"MS Serif", "Times New Roman", "Liberation Serif", "DejaVu Serif", "Serif"};
const QStringList kComic{"Comic Sans MS", "Comic Neue", "Liberation Sans", "Sans Serif"};
const QStringList kSans{"MS Sans Serif", "Arial", "Liberation Sans", "DejaVu Sans", "Sans Serif"};

}  // namespace

void placeWindow(QWidget* window, int left, int top, int outerWidth, int outerHeight) {
  window->setFixedSize(outerWidth - kFrameAllowance.width(), outerHeight - kFrameAllowance.height());
  window->move(left, top);
}

void fitOnScreen(QWidget* window) {
  QScreen* screen = window->screen();
  if (screen == nullptr) return;
  QRect room = screen->availableGeometry();
  QSize inner = window->size().boundedTo(room.size() - kFrameAllowance).expandedTo(window->minimumSizeHint());
  window->resize(inner);
  QSize outer = inner + kFrameAllowance;
  int x = qBound(room.left(), window->x(), qMax(room.left(), room.right() + 1 - outer.width()));
  int y = qBound(room.top(), window->y(), qMax(room.top(), room.bottom() + 1 - outer.height()));
  window->move(x, y);
}

void paintWhite(QWidget* widget) {
  QPalette palette = widget->palette();
  palette.setColor(QPalette::Window, Qt::white);
  widget->setPalette(palette);
  widget->setAutoFillBackground(true);
}

QFont courierNew(int pixels) { return face(kMono, QFont::TypeWriter, pixels); }

QFont timesNewRoman(int pixels, bool bold) {
  QFont font = face(kSerif, QFont::Serif, pixels);
  font.setBold(bold);
  return font;
}

QFont msSerif(int pixels) { return face(kMsSerif, QFont::Serif, pixels); }

QFont comicSansMs(int pixels) { return face(kComic, QFont::Cursive, pixels); }

QFont buttonFace() { return face(kSans, QFont::SansSerif, 12); }

void installFaceSubstitutes() {
  for (const QStringList* list : {&kMono, &kSerif, &kMsSerif, &kComic, &kSans})
    QFont::insertSubstitutions(list->front(), list->mid(1));
}

void registerPictures() {
  // The pictures are linked into a static library; without this call the
  // linker would drop their registration.
  static const bool registered = [] {
    Q_INIT_RESOURCE(pictures);
    return true;
  }();
  (void)registered;
}

QPixmap picture(const QString& name) {
  registerPictures();
  return QPixmap(QStringLiteral(":/pictures/") + name);
}

QPixmap transparentPicture(const QString& name) {
  QPixmap pixmap = picture(name);
  if (pixmap.isNull()) return pixmap;
  QImage image = pixmap.toImage();
  QColor key = image.pixelColor(0, image.height() - 1);
  pixmap.setMask(pixmap.createMaskFromColor(key, Qt::MaskInColor));
  return pixmap;
}

QLabel* pictureBox(QWidget* parent, const char* objectName, const QPixmap& pixmap, int x, int y, int width,
                   int height) {
  auto* box = new QLabel(parent);
  box->setObjectName(objectName);
  box->setGeometry(x, y, width, height);
  box->setPixmap(pixmap);
  box->setScaledContents(true);
  box->setAttribute(Qt::WA_TransparentForMouseEvents);
  return box;
}

QIcon glyph(Glyph kind) {
  // Drawn on a 20 x 20 design grid, shown at 16 x 16.
  constexpr int kSide = 20;
  constexpr int kShown = 16;
  QIcon icon;
  for (int scale : {1, 2}) {
    QPixmap pixmap(kShown * scale, kShown * scale);
    pixmap.setDevicePixelRatio(scale);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(double(kShown) / kSide, double(kShown) / kSide);
    const QColor navy(0x1f, 0x3a, 0x5f), teal(0x2a, 0x9d, 0x8f), amber(0xe9, 0xa2, 0x3b),
        coral(0xd6, 0x4f, 0x3c), green(0x2e, 0x8b, 0x3e);
    switch (kind) {
      case Glyph::Sets: {  // braces around two members
        p.setPen(QPen(navy, 1.8));
        QFont font = timesNewRoman(17, true);
        p.setFont(font);
        p.drawText(QRectF(0, -1, kSide, kSide), Qt::AlignCenter, QStringLiteral("{ }"));
        p.setPen(Qt::NoPen);
        p.setBrush(amber);
        p.drawEllipse(QPointF(8.2, 10.5), 1.8, 1.8);
        p.setBrush(teal);
        p.drawEllipse(QPointF(12.0, 10.5), 1.8, 1.8);
        break;
      }
      case Glyph::Table: {  // a header row over a small grid
        p.setPen(QPen(navy, 1.2));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(2.5, 3.5, 15, 13));
        p.fillRect(QRectF(3, 4, 14, 3.5), teal);
        p.fillRect(QRectF(3, 4, 4, 12), QColor(0xd8, 0xe6, 0xee));
        p.drawLine(QPointF(2.5, 7.5), QPointF(17.5, 7.5));
        p.drawLine(QPointF(2.5, 12), QPointF(17.5, 12));
        p.drawLine(QPointF(7, 3.5), QPointF(7, 16.5));
        p.drawLine(QPointF(12.2, 3.5), QPointF(12.2, 16.5));
        break;
      }
      case Glyph::Run: {  // a play mark over a stack of steps
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0xd8, 0xe6, 0xee));
        for (int i = 0; i < 3; ++i) p.drawRect(QRectF(2, 4 + i * 5, 7, 3.5));
        QPainterPath path;
        path.moveTo(9, 3.5);
        path.lineTo(18, 10);
        path.lineTo(9, 16.5);
        path.closeSubpath();
        p.setBrush(green);
        p.drawPath(path);
        break;
      }
      case Glyph::Items: {  // two states joined by an arc
        p.setPen(QPen(navy, 1.4));
        p.setBrush(Qt::white);
        p.drawEllipse(QPointF(5.5, 13.5), 3.8, 3.8);
        p.setBrush(QColor(0xd8, 0xe6, 0xee));
        p.drawEllipse(QPointF(14.5, 6), 3.8, 3.8);
        p.setPen(QPen(amber, 1.6));
        p.drawLine(QPointF(8.3, 10.8), QPointF(11.6, 8.4));
        p.setPen(Qt::NoPen);
        p.setBrush(navy);
        p.drawEllipse(QPointF(5.5, 13.5), 1.1, 1.1);
        break;
      }
      case Glyph::Exit: {  // an open door
        p.setPen(QPen(navy, 1.3));
        p.setBrush(QColor(0xd8, 0xe6, 0xee));
        p.drawRect(QRectF(4.5, 2.5, 10, 15));
        QPainterPath door;
        door.moveTo(4.5, 2.5);
        door.lineTo(10.5, 4.5);
        door.lineTo(10.5, 19);
        door.lineTo(4.5, 17.5);
        door.closeSubpath();
        p.setBrush(coral);
        p.drawPath(door);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawEllipse(QPointF(9, 11), 0.9, 0.9);
        break;
      }
      case Glyph::Info: {  // an i in a disc
        p.setPen(Qt::NoPen);
        p.setBrush(teal);
        p.drawEllipse(QRectF(2, 2, 16, 16));
        p.setPen(Qt::white);
        p.setFont(timesNewRoman(14, true));
        p.drawText(QRectF(2, 2, 16, 16), Qt::AlignCenter, QStringLiteral("i"));
        break;
      }
      case Glyph::Ok: {  // a check mark
        p.setPen(QPen(green, 2.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPolyline(QPolygonF({QPointF(3.5, 10.5), QPointF(8, 15), QPointF(16.5, 4.5)}));
        break;
      }
    }
    p.end();
    icon.addPixmap(pixmap);
  }
  return icon;
}

QAbstractButton* bitButton(QWidget* parent, const char* objectName, Glyph kind, const QString& label, int x, int y,
                           int width, int height) {
  auto* button = new QPushButton(glyph(kind), label, parent);
  button->setObjectName(objectName);
  button->setGeometry(x, y, width, height);
  button->setIconSize(QSize(16, 16));
  button->setFont(buttonFace());
  button->setAutoDefault(false);
  return button;
}

QString shown(const HString& text) { return QString::fromStdString(utf8ForDisplay(text.view())); }

HString typed(const QString& text) {
  QByteArray bytes = text.toUtf8();
  return HString(bytes.constData(), static_cast<int>(bytes.size()));
}
