#pragma once
// The one place that pulls in OpenGL and GLU, so a platform that needs a
// different include order has a single line to change.
#include <GL/gl.h>
#include <GL/glu.h>
