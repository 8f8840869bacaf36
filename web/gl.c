// The browser build's eglGetProcAddress, put in place of Emscripten's by the
// linker (-Wl,--wrap=eglGetProcAddress; see docs/WEB.md). SDL finds every
// OpenGL ES function it calls by name, through SDL_GL_GetProcAddress and
// EGL. Emscripten's own eglGetProcAddress knows every WebGL function by
// name, so the program carried each of them, and the page the JavaScript
// behind each: some 140 functions that nothing calls. This one knows the
// functions SDL 2.26 asks for on the way to the game's drawing, each mapped
// to Emscripten's function of that name as before, and answers NULL for any
// other name, as Emscripten's does for a name it does not know (SDL's
// optional EGL extensions among them).
//
// Who asks for which (SDL 2.26.5's source):
//   src/render/opengles2/SDL_gles2funcs.h  the OpenGL ES 2 renderer's table,
//                                          loaded whole when it is created
//   src/video/SDL_video.c                  SDL_GL_ExtensionSupported and
//                                          SDL_GL_GetAttribute
//   src/video/SDL_egl.c                    glGetIntegerv, and the optional
//                                          EGL extensions (NULL here too)
// A name missing here makes SDL_CreateRenderer fail ("Couldn't load GLES2
// function"), which the browser tests would see at once.
#include <GLES2/gl2.h>
#include <string.h>

#define FUNCTION(name) {#name, (void *)name}

static const struct {
    const char *name;
    void *function;
} functions[] = {
    FUNCTION(glActiveTexture),
    FUNCTION(glAttachShader),
    FUNCTION(glBindAttribLocation),
    FUNCTION(glBindBuffer),
    FUNCTION(glBindFramebuffer),
    FUNCTION(glBindTexture),
    FUNCTION(glBlendEquationSeparate),
    FUNCTION(glBlendFuncSeparate),
    FUNCTION(glBufferData),
    FUNCTION(glBufferSubData),
    FUNCTION(glCheckFramebufferStatus),
    FUNCTION(glClear),
    FUNCTION(glClearColor),
    FUNCTION(glCompileShader),
    FUNCTION(glCreateProgram),
    FUNCTION(glCreateShader),
    FUNCTION(glDeleteBuffers),
    FUNCTION(glDeleteFramebuffers),
    FUNCTION(glDeleteProgram),
    FUNCTION(glDeleteShader),
    FUNCTION(glDeleteTextures),
    FUNCTION(glDisable),
    FUNCTION(glDisableVertexAttribArray),
    FUNCTION(glDrawArrays),
    FUNCTION(glEnable),
    FUNCTION(glEnableVertexAttribArray),
    FUNCTION(glFinish),
    FUNCTION(glFramebufferTexture2D),
    FUNCTION(glGenBuffers),
    FUNCTION(glGenFramebuffers),
    FUNCTION(glGenTextures),
    FUNCTION(glGetAttribLocation),
    FUNCTION(glGetError),
    FUNCTION(glGetFramebufferAttachmentParameteriv),
    FUNCTION(glGetIntegerv),
    FUNCTION(glGetProgramInfoLog),
    FUNCTION(glGetProgramiv),
    FUNCTION(glGetShaderInfoLog),
    FUNCTION(glGetShaderiv),
    FUNCTION(glGetString),
    FUNCTION(glGetUniformLocation),
    FUNCTION(glLinkProgram),
    FUNCTION(glPixelStorei),
    FUNCTION(glReadPixels),
    FUNCTION(glScissor),
    FUNCTION(glShaderBinary),
    FUNCTION(glShaderSource),
    FUNCTION(glTexImage2D),
    FUNCTION(glTexParameteri),
    FUNCTION(glTexSubImage2D),
    FUNCTION(glUniform1i),
    FUNCTION(glUniform4f),
    FUNCTION(glUniformMatrix4fv),
    FUNCTION(glUseProgram),
    FUNCTION(glVertexAttribPointer),
    FUNCTION(glViewport),
};

void *__wrap_eglGetProcAddress(const char *name)
{
    for (size_t i = 0; i < sizeof functions / sizeof functions[0]; i++) {
        if (strcmp(functions[i].name, name) == 0)
            return functions[i].function;
    }
    return NULL;
}
