#include "app/EditBoxes.h"

#include <QLineEdit>
#include <QPalette>
#include <QPlainTextEdit>

#include <limits>

namespace ql::app {

namespace {

void applyEditColours(QWidget* box)
{
    QPalette colours = box->palette();
    colours.setColor(QPalette::Base, Qt::white);
    colours.setColor(QPalette::Text, Qt::black);
    // Without the focus the selection is drawn in the inactive colours:
    // make those the box's own so the selection stays invisible.
    colours.setColor(QPalette::Inactive, QPalette::Highlight, Qt::white);
    colours.setColor(QPalette::Inactive, QPalette::HighlightedText, Qt::black);
    box->setPalette(colours);
}

} // namespace

void configureQuestionBox(QLineEdit* box)
{
    box->setMaxLength(std::numeric_limits<int>::max());
    box->setFrame(true);
    applyEditColours(box);
}

void configureResultBox(QPlainTextEdit* box)
{
    box->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    box->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    box->setTabChangesFocus(true);
    box->setFocusPolicy(Qt::StrongFocus);
    applyEditColours(box);
}

} // namespace ql::app
