// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

class QOpenGLContext;

// The program's one use of private Qt (see the .cpp file).
namespace globalsharecontext {

// Makes `context` the one every OpenGL context of the program shares, as Qt does itself
// when AA_ShareOpenGLContexts is set; QOpenGLContext::globalShareContext() then
// returns it. Null takes it back.
void set(QOpenGLContext *context);

} // namespace globalsharecontext
