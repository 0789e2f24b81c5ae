#include "SceneExport.h"

#include <QApplication>
#include <QClipboard>
#include <QBuffer>
#include <QFileDialog>
#include <QGraphicsScene>
#include <QMessageBox>
#include <QPainter>
#include <QSvgGenerator>

#include "AtomicFile.h"
#include "layout/graphviz.h"

namespace {

constexpr double kLargestSide = 12000;  // pixels of an exported image

}  // namespace

QImage sceneImage(QGraphicsScene& scene) {
  QRectF area = scene.itemsBoundingRect().adjusted(-10, -10, 10, 10);
  double scale = qMin(2.0, kLargestSide / qMax(area.width(), area.height()));
  QImage image(qMax(1, qCeil(area.width() * scale)), qMax(1, qCeil(area.height() * scale)), QImage::Format_ARGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
  scene.render(&painter, QRectF(), area);
  return image;
}

QByteArray svgBytes(QGraphicsScene& scene, const QString& title) {
  QRectF area = scene.itemsBoundingRect().adjusted(-10, -10, 10, 10);
  QBuffer bytes;
  bytes.open(QIODevice::WriteOnly);
  QSvgGenerator svg;
  svg.setOutputDevice(&bytes);
  svg.setTitle(title);
  svg.setDescription(QStringLiteral("Drawn by Tablomat"));
  svg.setSize(area.size().toSize());
  svg.setViewBox(QRectF(QPointF(0, 0), area.size()));
  QPainter painter;
  if (!painter.begin(&svg)) return {};
  scene.render(&painter, QRectF(QPointF(0, 0), area.size()), area);
  painter.end();
  return bytes.data();
}

QByteArray pngBytes(QGraphicsScene& scene) {
  QBuffer bytes;
  bytes.open(QIODevice::WriteOnly);
  return sceneImage(scene).save(&bytes, "PNG") ? bytes.data() : QByteArray();
}

void exportScene(QWidget* parent, QGraphicsScene& scene, const std::string& dot, const QString& name,
                 const std::function<std::string()>& tikz) {
  QString chosen;
  QString filters = QStringLiteral("SVG drawing (*.svg);;PNG image (*.png);;Graphviz DOT (*.dot)");
  if (tikz) filters += QStringLiteral(";;TikZ picture for LaTeX (*.tex)");
  QString path = QFileDialog::getSaveFileName(parent, QStringLiteral("Export %1").arg(name), name + ".svg", filters, &chosen);
  if (path.isEmpty()) return;
  // A name without one of the endings offered takes the chosen filter's.
  QString lower = path.toLower();
  if (!lower.endsWith(".svg") && !lower.endsWith(".png") && !lower.endsWith(".dot") &&
      !(tikz && lower.endsWith(".tex")))
    path += chosen.startsWith("PNG")        ? ".png"
            : chosen.startsWith("Graphviz") ? ".dot"
            : chosen.startsWith("TikZ")     ? ".tex"
                                            : ".svg";
  lower = path.toLower();
  QByteArray bytes;
  try {
    if (tikz && lower.endsWith(".tex")) {
      std::string text = tikz();
      bytes = QByteArray(text.data(), static_cast<qsizetype>(text.size()));
    } else {
      bytes = lower.endsWith(".png")   ? pngBytes(scene)
              : lower.endsWith(".dot") ? QByteArray(dot.data(), static_cast<qsizetype>(dot.size()))
                                       : svgBytes(scene, name);
    }
  } catch (const GraphvizError& error) {
    QMessageBox::warning(parent, QStringLiteral("Tablomat"),
                         QStringLiteral("Could not lay out the TikZ picture: %1").arg(QString::fromStdString(error.what())));
    return;
  }
  QString error;
  if (bytes.isEmpty()) error = QStringLiteral("Could not draw %1.").arg(path);
  else saveAtomically(path, bytes, &error);
  if (!error.isEmpty()) QMessageBox::warning(parent, QStringLiteral("Tablomat"), error);
}

void copySceneImage(QGraphicsScene& scene) { QApplication::clipboard()->setImage(sceneImage(scene)); }
