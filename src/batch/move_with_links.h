#pragma once

#include <QStringList>
#include <memory>
#include <optional>

#include "batch/batch_engine.h"

// Moving (or renaming) a page, a picture or a folder of a site so that every link follows:
// the links to it (or into it) in every page under the root, and the links inside what
// moves, are written again relative to where each page now stands. A link's fragment, query
// and style (relative or from the root) stay; a page where no link changes is not written.
struct MovePlan {
  QList<Rename> renames;
  QList<BatchStep> steps;
  // Filled as the steps run: mentions of the moved name that are not links it can rewrite
  // (in a script, an address built by code, a page with <base>), "page:line: why".
  std::shared_ptr<QStringList> left_alone = std::make_shared<QStringList>();
};

// Nothing, with *error said, when the move cannot be done: the source is missing, the
// target exists or lies outside the root.
std::optional<MovePlan> PlanMove(const QString& from, const QString& to, const QString& root,
                                 QString* error);
