#pragma once
// The control library's classes in the class registry (made by name, with their published
// properties), for tools that drive components by name.

void RegisterLibraryClasses();
