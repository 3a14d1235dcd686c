#pragma once

#include <QStringList>

#include "html/html_structure.h"

// The names to offer, sorted: HTML elements (with more_elements), the element's attributes
// with the global ones, or CSS properties.
QStringList CompletionNames(const CompletionContext& context,
                            const QStringList& more_elements = {});
