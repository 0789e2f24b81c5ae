// Draws the pictures of the three windows into a folder (ui/pictures):
//   cmake --build build --target tablomat_pictures
//   QT_QPA_PLATFORM=offscreen build/ui/tablomat_pictures ui/pictures
// The pictures are committed; run this only to change them.
#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>
#include <cstdio>

namespace {

const QColor kNavy(0x1f, 0x3a, 0x5f);
const QColor kTeal(0x2a, 0x9d, 0x8f);
const QColor kAmber(0xe9, 0xa2, 0x3b);
const QColor kCoral(0xd6, 0x4f, 0x3c);
const QColor kPale(0xd8, 0xe6, 0xee);
const QColor kMist(0xee, 0xf4, 0xf7);

QFont font(const char* family, int pixels, bool bold = false) {
  QFont f(family);
  f.setPixelSize(pixels);
  f.setBold(bold);
  return f;
}

QImage canvas(int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(Qt::white);
  return image;
}

void begin(QPainter& p, QImage& image) {
  p.begin(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
}

// A node of a tree or automaton: a disc with a symbol in it.
void node(QPainter& p, QPointF at, double radius, const QString& text, const QColor& fill, const QColor& ink,
          int pixels = 12) {
  p.setPen(QPen(kNavy, 1.4));
  p.setBrush(fill);
  p.drawEllipse(at, radius, radius);
  p.setPen(ink);
  p.setFont(font("Liberation Mono", pixels, true));
  p.drawText(QRectF(at.x() - radius, at.y() - radius, 2 * radius, 2 * radius), Qt::AlignCenter, text);
}

void edge(QPainter& p, QPointF from, QPointF to, double r1, double r2) {
  QLineF line(from, to);
  double length = line.length();
  if (length <= r1 + r2) return;
  QPointF a = from + (to - from) * (r1 / length);
  QPointF b = to - (to - from) * (r2 / length);
  p.setPen(QPen(kNavy, 1.3));
  p.drawLine(a, b);
}

// An arrow between two discs, optionally bent, with a label at its middle.
void arc(QPainter& p, QPointF from, QPointF to, double radius, const QString& label, double bend = 0) {
  QPointF middle = (from + to) / 2;
  QPointF normal(-(to.y() - from.y()), to.x() - from.x());
  double n = std::hypot(normal.x(), normal.y());
  QPointF control = middle + normal * (bend / n);
  QLineF startLine(from, control), endLine(to, control);
  startLine.setLength(radius);
  endLine.setLength(radius + 1);
  QPainterPath path(startLine.p2());
  path.quadTo(control, endLine.p2());
  p.setPen(QPen(kTeal, 1.5));
  p.setBrush(Qt::NoBrush);
  p.drawPath(path);
  // Arrow head along the last tangent.
  QLineF tangent(control, endLine.p2());
  double angle = std::atan2(tangent.dy(), tangent.dx());
  QPointF tip = endLine.p2();
  QPolygonF head({tip, tip - QPointF(std::cos(angle - 0.45), std::sin(angle - 0.45)) * 7,
                  tip - QPointF(std::cos(angle + 0.45), std::sin(angle + 0.45)) * 7});
  p.setPen(Qt::NoPen);
  p.setBrush(kTeal);
  p.drawPolygon(head);
  if (!label.isEmpty()) {
    QPointF at = (middle + control) / 2 + QPointF(0, -1);
    p.setFont(font("Liberation Mono", 11, true));
    p.setPen(kAmber.darker(130));
    p.drawText(QRectF(at.x() - 12, at.y() - 14, 24, 14), Qt::AlignCenter, label);
  }
}

// A soft band behind the titles, fading out towards the bottom.
void band(QPainter& p, QRectF rect) {
  QLinearGradient fill(rect.topLeft(), rect.bottomLeft());
  fill.setColorAt(0, kMist);
  fill.setColorAt(0.7, QColor(0xf6, 0xf9, 0xfb));
  fill.setColorAt(1, Qt::white);
  p.setPen(Qt::NoPen);
  p.setBrush(fill);
  p.drawRoundedRect(rect, 18, 18);
}

void smallTree(QPainter& p, QPointF origin, double scale) {
  auto at = [&](double x, double y) { return origin + QPointF(x, y) * scale; };
  struct N { double x, y; const char* s; bool terminal; };
  const N nodes[] = {{60, 12, "E", false}, {30, 40, "T", false}, {90, 40, "G", false},
                     {14, 70, "F", false}, {46, 70, "H", false}, {74, 70, "+", true},
                     {106, 70, "T", false}, {14, 96, "i", true}, {46, 96, "e", true}};
  const int links[][2] = {{0, 1}, {0, 2}, {1, 3}, {1, 4}, {2, 5}, {2, 6}, {3, 7}, {4, 8}};
  double r = 9 * scale;
  for (auto& l : links) edge(p, at(nodes[l[0]].x, nodes[l[0]].y), at(nodes[l[1]].x, nodes[l[1]].y), r, r);
  for (const N& n : nodes)
    node(p, at(n.x, n.y), r, n.s, n.terminal ? QColor(0xfb, 0xe7, 0xc4) : kPale, kNavy,
         static_cast<int>(12 * scale));
}

// A chain of small discs, a derivation step drawn as a line of nodes.
void chain(QPainter& p, QPointF from, int count, double step, double radius) {
  for (int i = 0; i + 1 < count; ++i)
    edge(p, from + QPointF(i * step, 0), from + QPointF((i + 1) * step, 0), radius, radius);
  for (int i = 0; i < count; ++i)
    node(p, from + QPointF(i * step, 0), radius, "", i == count - 1 ? QColor(0xfb, 0xe7, 0xc4) : kPale, kNavy);
}

void miniTable(QPainter& p, QRectF area, int cols, int rows, const char* const* texts, int conflict);

// The title band; `decorated` adds a tree on the left and a table on the right.
QImage banner(int width, int height, int top, int titlePixels, const char* subtitle, bool decorated) {
  QImage image = canvas(width, height);
  QPainter p;
  begin(p, image);
  band(p, QRectF(8, top + 4, width - 16, 104));
  if (decorated) {
    smallTree(p, QPointF(22, top + 10), 0.82);
    const char* texts[] = {"", "(", "i", "$", "E", "1", "1", "", "G", "", "", "2", "F", "4", "5", ""};
    miniTable(p, QRectF(width - 124, top + 22, 104, 64), 4, 4, texts, -1);
  } else {
    chain(p, QPointF(40, top + 58), 4, 22, 5);
    chain(p, QPointF(width - 106, top + 58), 4, 22, 5);
  }
  // The title, with the item dot as its signature.
  QFont title = font("Liberation Serif", titlePixels, true);
  p.setFont(title);
  QRectF titleBox(0, top + 8, width, titlePixels + 12);
  p.setPen(QColor(0, 0, 0, 30));
  p.drawText(titleBox.translated(2, 2), Qt::AlignHCenter | Qt::AlignVCenter, "Tablomat");
  p.setPen(kNavy);
  p.drawText(titleBox, Qt::AlignHCenter | Qt::AlignVCenter, "Tablomat");
  QFontMetricsF metrics(title);
  double titleWidth = metrics.horizontalAdvance("Tablomat");
  p.setPen(Qt::NoPen);
  p.setBrush(kCoral);
  p.drawEllipse(QPointF(width / 2.0 + titleWidth / 2 + 9, titleBox.center().y() + metrics.ascent() / 2 - 6), 4.5,
                4.5);
  p.setFont(font("Liberation Sans", 14));
  p.setPen(kTeal.darker(115));
  p.drawText(QRectF(0, top + titlePixels + 22, width, 20), Qt::AlignHCenter, subtitle);
  p.end();
  return image;
}

QImage tree() {
  QImage image = canvas(168, 98);
  QPainter p;
  begin(p, image);
  // The tree spans x 5..115 and y 3..105 at scale 1: centred, with a margin.
  const double scale = 0.9;
  smallTree(p, QPointF((168 - 110 * scale) / 2 - 5 * scale, (98 - 102 * scale) / 2 - 3 * scale), scale);
  p.end();
  return image;
}

QImage automaton(int width, int height, bool loop) {
  QImage image = canvas(width, height);
  QPainter p;
  begin(p, image);
  double r = 13;
  if (!loop) {
    QPointF s0(22, 28), s1(100, 28), s2(40, 82), s3(104, 82);
    arc(p, s0, s1, r, "S", -10);
    arc(p, s0, s2, r, "i", 0);
    arc(p, s2, s3, r, "E", 8);
    arc(p, s3, s1, r, "t", 0);
    node(p, s0, r, "0", kPale, kNavy);
    node(p, s1, r, "1", QColor(0xcf, 0xec, 0xe7), kNavy);
    node(p, s2, r, "2", kPale, kNavy);
    node(p, s3, r, "4", kPale, kNavy);
    p.setPen(QPen(kNavy, 1));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(s1, r - 3.5, r - 3.5);
  } else {
    QPointF s0(34, 30), s1(112, 30), s2(112, 96), s3(34, 96);
    arc(p, s0, s1, r, "(", -8);
    arc(p, s1, s2, r, "S", -8);
    arc(p, s2, s3, r, ")", -8);
    arc(p, s3, s0, r, "x", -8);
    node(p, s0, r, "0", kPale, kNavy);
    node(p, s1, r, "2", kPale, kNavy);
    node(p, s2, r, "4", kPale, kNavy);
    node(p, s3, r, "7", QColor(0xfb, 0xe7, 0xc4), kNavy);
  }
  p.end();
  return image;
}

QImage stack() {
  QImage image = canvas(128, 104);
  QPainter p;
  begin(p, image);
  const char* cells[] = {"0", "E", "3", "+", "7"};
  for (int i = 0; i < 5; ++i) {
    QRectF box(14, 84 - i * 19, 34, 17);
    p.setPen(QPen(kNavy, 1.2));
    p.setBrush(i % 2 ? QColor(0xfb, 0xe7, 0xc4) : kPale);
    p.drawRoundedRect(box, 3, 3);
    p.setFont(font("Liberation Mono", 12, true));
    p.setPen(kNavy);
    p.drawText(box, Qt::AlignCenter, cells[i]);
  }
  p.setPen(QPen(kNavy, 1.6));
  p.drawLine(QPointF(10, 102), QPointF(52, 102));
  // The rest of the input on a tape, with the end marker.
  const char* tape[] = {"i", "*", "i", "$"};
  for (int i = 0; i < 4; ++i) {
    QRectF box(62 + i * 15, 20, 15, 18);
    p.setPen(QPen(kNavy, 1.1));
    p.setBrush(i == 0 ? QColor(0xcf, 0xec, 0xe7) : Qt::white);
    p.drawRect(box);
    p.setFont(font("Liberation Mono", 12, true));
    p.setPen(i == 3 ? kCoral : kNavy);
    p.drawText(box, Qt::AlignCenter, tape[i]);
  }
  arc(p, QPointF(69, 46), QPointF(52, 72), 0, "", -10);
  p.setFont(font("Liberation Sans", 11, true));
  p.setPen(kTeal.darker(120));
  p.drawText(QRectF(60, 76, 66, 16), Qt::AlignLeft, "shift");
  p.end();
  return image;
}

QImage sets() {
  QImage image = canvas(96, 56);
  QPainter p;
  begin(p, image);
  p.setFont(font("Liberation Sans", 11, true));
  p.setPen(kTeal.darker(120));
  p.drawText(QRectF(0, 2, 96, 16), Qt::AlignHCenter, "First(T)");
  p.setFont(font("Liberation Serif", 26, true));
  p.setPen(kNavy);
  p.drawText(QRectF(0, 16, 96, 36), Qt::AlignCenter, "{    }");
  p.setFont(font("Liberation Mono", 15, true));
  p.setPen(kAmber.darker(125));
  p.drawText(QRectF(0, 18, 96, 34), Qt::AlignCenter, "( i");
  p.end();
  return image;
}

void miniTable(QPainter& p, QRectF area, int cols, int rows, const char* const* texts, int conflict) {
  double w = area.width() / cols, h = area.height() / rows;
  for (int r = 0; r < rows; ++r)
    for (int c = 0; c < cols; ++c) {
      QRectF cell(area.left() + c * w, area.top() + r * h, w, h);
      QColor fill = r == 0 || c == 0 ? kPale : Qt::white;
      if (r * cols + c == conflict) fill = QColor(0xff, 0xcf, 0x8a);
      p.setPen(QPen(kNavy.lighter(160), 1));
      p.setBrush(fill);
      p.drawRect(cell);
      const char* text = texts[r * cols + c];
      if (text && *text) {
        p.setFont(font("Liberation Mono", 10, r * cols + c == conflict));
        p.setPen(r * cols + c == conflict ? kCoral.darker(120) : kNavy);
        p.drawText(cell, Qt::AlignCenter, text);
      }
    }
  p.setPen(QPen(kNavy, 1.3));
  p.setBrush(Qt::NoBrush);
  p.drawRect(area);
}

QImage cells() {
  QImage image = canvas(112, 62);
  QPainter p;
  begin(p, image);
  const char* texts[] = {"", "a", "b", "$", "0", "s2", "", "", "1", "", "", "a", "2", "r1", "s3", "r1"};
  miniTable(p, QRectF(4, 3, 104, 56), 4, 4, texts, -1);
  p.end();
  return image;
}

QImage item() {
  QImage image = canvas(120, 62);
  QPainter p;
  begin(p, image);
  p.setFont(font("Liberation Mono", 16, true));
  QFontMetricsF m(p.font());
  QString left = "E->E", right = "+T";
  double x = (120 - m.horizontalAdvance(left + " " + right)) / 2;
  p.setPen(kNavy);
  p.drawText(QPointF(x, 28), left);
  double dotX = x + m.horizontalAdvance(left) + m.horizontalAdvance(" ") / 2;
  p.setPen(Qt::NoPen);
  p.setBrush(kCoral);
  p.drawEllipse(QPointF(dotX, 22), 3.4, 3.4);
  p.setPen(kNavy);
  p.drawText(QPointF(x + m.horizontalAdvance(left + " "), 28), right);
  p.setFont(font("Liberation Mono", 12, true));
  p.setPen(kTeal.darker(115));
  p.drawText(QRectF(0, 36, 120, 20), Qt::AlignHCenter, ", +$)");
  p.end();
  return image;
}

QImage rules() {
  QImage image = canvas(433, 129);
  QPainter p;
  begin(p, image);
  const char* lines[] = {"I->E", "E->TG", "G->+TG|e", "T->FH", "H->*FH|e", "F->(E)|i"};
  QFont mono = font("Liberation Mono", 14, true);
  p.setFont(mono);
  QFontMetricsF m(mono);
  double x = 18, y = 14;
  for (int i = 0; i < 6; ++i) {
    double w = m.horizontalAdvance(lines[i]) + 18;
    if (x + w > 352) {
      x = 46;
      y += 36;
    }
    QRectF chip(x, y, w, 26);
    p.setPen(QPen(kNavy.lighter(140), 1));
    p.setBrush(i == 0 ? QColor(0xfb, 0xe7, 0xc4) : kMist);
    p.drawRoundedRect(chip, 9, 9);
    p.setPen(kNavy);
    p.drawText(chip, Qt::AlignCenter, lines[i]);
    x += w + 10;
  }
  p.setFont(font("Liberation Sans", 12));
  p.setPen(kTeal.darker(120));
  p.drawText(QRectF(18, y + 38, 330, 18), Qt::AlignLeft, "one rule per line   \xc2\xb7   e is the empty string");
  p.end();
  return image;
}

QImage warning() {
  QImage image = canvas(257, 105);
  QPainter p;
  begin(p, image);
  QPainterPath triangle;
  triangle.moveTo(52, 22);
  triangle.lineTo(86, 84);
  triangle.lineTo(18, 84);
  triangle.closeSubpath();
  QLinearGradient fill(QPointF(0, 22), QPointF(0, 84));
  fill.setColorAt(0, kAmber.lighter(115));
  fill.setColorAt(1, kAmber);
  p.setPen(QPen(kAmber.darker(140), 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(fill);
  p.drawPath(triangle);
  p.setFont(font("Liberation Sans", 34, true));
  p.setPen(kNavy);
  p.drawText(QRectF(18, 36, 68, 48), Qt::AlignCenter, "!");
  const char* texts[] = {"", "a", "b", "$", "0", "s2", "", "", "1", "", "s4|r2", "a", "2", "r1", "", "r1"};
  miniTable(p, QRectF(104, 24, 140, 62), 4, 4, texts, 10);
  p.end();
  return image;
}

bool save(const QImage& image, const QDir& folder, const char* name, const char* format) {
  QString path = folder.filePath(name);
  bool ok = image.save(path, format, 92);
  std::fprintf(stderr, "%s %s\n", ok ? "wrote" : "FAILED", qPrintable(path));
  return ok;
}

}  // namespace

int main(int argc, char* argv[]) {
  QGuiApplication application(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
    return 2;
  }
  QDir folder(argv[1]);
  bool ok = true;
  ok &= save(banner(560, 175, 24, 44, "grammars  \xc2\xb7  items  \xc2\xb7  tables  \xc2\xb7  parses", false), folder,
             "banner.jpg", "JPEG");
  ok &= save(tree(), folder, "tree.bmp", "BMP");
  ok &= save(automaton(128, 104, false), folder, "automaton.bmp", "BMP");
  ok &= save(stack(), folder, "stack.bmp", "BMP");
  ok &= save(sets(), folder, "sets.bmp", "BMP");
  ok &= save(cells(), folder, "cells.bmp", "BMP");
  ok &= save(item(), folder, "item.bmp", "BMP");
  ok &= save(banner(549, 173, 16, 48, "a workbench for context-free grammars", true), folder, "info_banner.jpg", "JPEG");
  ok &= save(rules(), folder, "info_rules.jpg", "JPEG");
  ok &= save(automaton(145, 129, true), folder, "info_states.bmp", "BMP");
  ok &= save(warning(), folder, "warning.jpg", "JPEG");
  return ok ? 0 : 1;
}
