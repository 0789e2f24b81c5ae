// Saving a drawing (an automaton, a parse tree) as SVG, PNG or DOT, and
// copying it to the clipboard as an image.  SVG and PNG show the drawing
// as the window shows it, marks included; DOT is the graph for Graphviz.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <string>

class QGraphicsScene;
class QWidget;

// The drawing as an image, twice its natural size where that stays within
// a size any image program opens.
QImage sceneImage(QGraphicsScene& scene);
// The drawing as the bytes of a file; empty when it cannot be drawn.
QByteArray svgBytes(QGraphicsScene& scene, const QString& title);
QByteArray pngBytes(QGraphicsScene& scene);
// Asks for a file name and writes the drawing in the format its name ends
// with (.svg, .png or .dot), telling the user when it cannot.
void exportScene(QWidget* parent, QGraphicsScene& scene, const std::string& dot, const QString& name);
void copySceneImage(QGraphicsScene& scene);
