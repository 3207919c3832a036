// Applies a stored description to a root component (a form): creates the
// nested objects, owned by the root; sets properties through the property
// registry; binds events to the root's published handlers; sets the root's
// published fields; resolves component references once everything is read;
// then calls Loaded on every component, in creation order with the root last.
#pragma once

#include "Description.h"

class TComponent;

// Root must be of the description's root class (or the class it names must be
// one of Root's ancestors). Every component is in csLoading while it is read.
// Raises EReadError "line N: Object.Property: what is wrong"; on any error every
// component created so far is freed, the root's fields are cleared, and Root
// keeps only what it had before (its own property values may have changed).
// A published field of Root left without a component of its name is an error.
void ReadDescription(TComponent& Root, std::string_view text);
void ReadDescription(TComponent& Root, const TDescObject& desc);
