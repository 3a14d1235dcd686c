#pragma once

#include <QStringList>

#include "tags/html_structure.h"

// The names to offer, sorted: HTML elements (with those the tag menu uses), the element's
// attributes with the global ones, or CSS properties.
QStringList CompletionNames(const CompletionContext& context);
