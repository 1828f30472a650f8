// What the handheld will not find in a source edition (help text, anchors, pictures, tile pages),
// as warnings at the files they concern: the edition still builds.
#pragma once

#include "tools/ydb/source/issues.h"
#include "tools/ydb/source/source_edition.h"

void warnAboutResources(const SourceEdition& edition, IssueList& issues);
