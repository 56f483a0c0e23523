/* Loaded into arxhost by a test to stage faults of the file system:
   - the STL file the mesh path writes cannot be opened for reading, as when
     the disk fails between write and read; each IGES file opened says on
     standard error whether TEMP still holds the STL file of an earlier import;
   - with VANISHING_FILE set, that file can be opened once per process: it is
     gone for every later open, as if removed while it was being read. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

static void SayStale(const char* path) {
  size_t n = strlen(path);
  const char* temp = getenv("TEMP");
  if (n < 4 || strcmp(path + n - 4, ".igs") != 0 || !temp) return;
  char stl[4096];
  struct stat st;
  snprintf(stl, sizeof stl, "%s/VRNTemp.stl", temp);
  if (stat(stl, &st) == 0) {
    static const char line[] = "STALE VRNTemp.stl\n";
    if (write(2, line, sizeof line - 1) < 0) return;
  }
}

static int Vanished(const char* path) {
  static int opened;
  const char* name = getenv("VANISHING_FILE");
  if (!name || strcmp(path, name) != 0) return 0;
  return opened++ > 0;
}

static int Refused(const char* path, int flags) {
  const char* name = strrchr(path, '/');
  return (flags & O_ACCMODE) == O_RDONLY && name && strstr(name, "VRNTemp.stl") && !strstr(name, "VRNTemp.stl.");
}

#define OPEN(fn)                                                           \
  int fn(const char* path, int flags, ...) {                               \
    static int (*real)(const char*, int, ...);                             \
    if (!real) real = (int (*)(const char*, int, ...))dlsym(RTLD_NEXT, #fn); \
    SayStale(path);                                                        \
    if (Vanished(path)) {                                                  \
      errno = ENOENT;                                                      \
      return -1;                                                           \
    }                                                                      \
    if (Refused(path, flags)) {                                            \
      errno = EIO;                                                         \
      return -1;                                                           \
    }                                                                      \
    va_list args;                                                          \
    va_start(args, flags);                                                 \
    int mode = (flags & (O_CREAT | O_TMPFILE)) ? va_arg(args, int) : 0;    \
    va_end(args);                                                          \
    return real(path, flags, mode);                                        \
  }
OPEN(open)
OPEN(open64)

#define FOPEN(fn)                                                                    \
  FILE* fn(const char* path, const char* mode) {                                     \
    static FILE* (*real)(const char*, const char*);                                  \
    if (!real) real = (FILE * (*)(const char*, const char*)) dlsym(RTLD_NEXT, #fn); \
    SayStale(path);                                                                  \
    if (Vanished(path)) {                                                            \
      errno = ENOENT;                                                                \
      return NULL;                                                                   \
    }                                                                                \
    return real(path, mode);                                                         \
  }
FOPEN(fopen)
FOPEN(fopen64)
