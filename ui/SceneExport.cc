#include "SceneExport.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QFileDialog>
#include <QGraphicsScene>
#include <QMessageBox>
#include <QPainter>
#include <QSvgGenerator>

#include "graphs/graphviz.h"

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

bool writeSvg(QGraphicsScene& scene, const QString& path, const QString& title) {
  QRectF area = scene.itemsBoundingRect().adjusted(-10, -10, 10, 10);
  QSvgGenerator svg;
  svg.setFileName(path);
  svg.setTitle(title);
  svg.setDescription(QStringLiteral("Drawn by Tablomat"));
  svg.setSize(area.size().toSize());
  svg.setViewBox(QRectF(QPointF(0, 0), area.size()));
  QPainter painter;
  if (!painter.begin(&svg)) return false;
  scene.render(&painter, QRectF(QPointF(0, 0), area.size()), area);
  return painter.end() && QFile::exists(path);
}

bool writePng(QGraphicsScene& scene, const QString& path) { return sceneImage(scene).save(path, "PNG"); }

bool writeText(const std::string& text, const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
  return file.write(text.data(), static_cast<qint64>(text.size())) == static_cast<qint64>(text.size());
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
  bool written = false;
  try {
    written = lower.endsWith(".png")   ? writePng(scene, path)
              : lower.endsWith(".dot") ? writeText(dot, path)
              : tikz && lower.endsWith(".tex") ? writeText(tikz(), path)
                                       : writeSvg(scene, path, name);
  } catch (const GraphvizError& error) {
    QMessageBox::warning(parent, QStringLiteral("Tablomat"),
                         QStringLiteral("Could not lay out the TikZ picture: %1").arg(QString::fromStdString(error.what())));
    return;
  }
  if (!written)
    QMessageBox::warning(parent, QStringLiteral("Tablomat"), QStringLiteral("Could not write %1.").arg(path));
}

void copySceneImage(QGraphicsScene& scene) { QApplication::clipboard()->setImage(sceneImage(scene)); }
