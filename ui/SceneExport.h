// Saving a drawing (an automaton, a parse tree) as SVG, PNG, DOT or TikZ,
// and copying it to the clipboard as an image.  SVG and PNG show the
// drawing as the window shows it, marks included; DOT is the graph for
// Graphviz; TikZ a picture for LaTeX documents, laid out by Graphviz.
#pragma once

#include <QImage>
#include <QString>
#include <functional>
#include <string>

class QGraphicsScene;
class QWidget;

// The drawing as an image, twice its natural size where that stays within
// a size any image program opens.
QImage sceneImage(QGraphicsScene& scene);
// Writes the drawing; false when the file cannot be written.
bool writeSvg(QGraphicsScene& scene, const QString& path, const QString& title);
bool writePng(QGraphicsScene& scene, const QString& path);
bool writeText(const std::string& text, const QString& path);
// Asks for a file name and writes the drawing in the format its name ends
// with (.svg, .png, .dot or, when `tikz` is given, .tex), telling the user
// when it cannot.  The TikZ text is made only when it is chosen.
void exportScene(QWidget* parent, QGraphicsScene& scene, const std::string& dot, const QString& name,
                 const std::function<std::string()>& tikz = {});
void copySceneImage(QGraphicsScene& scene);
