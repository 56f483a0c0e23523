#pragma once
// The bridge library over Open CASCADE: IGES files into shapes, shapes into
// STL files. Every function returns non-zero on success; on failure GetError
// gives a sentence naming the file and the reason, fit to show the user.
#include <TopTools_HSequenceOfShape.hxx>

#include "mfc/CString.h"

class BrennIges {
 public:
  // Reads the IGES file at path (a Windows or native path) and appends its
  // shapes to the sequence. Mode 1 appends every solid, shell, face, wire,
  // edge and vertex of the file once, in place, what lies inside compounds
  // (groups, assemblies, instances) included; any other mode appends one
  // shape holding them all. Coordinates stay in the file's own length unit.
  // The file is read in a child process: a file that faults, hangs or
  // exhausts memory there is refused like any damaged file.
  static int Read(const CString& path, Handle_TopTools_HSequenceOfShape shapes, int mode);
  static CString GetError();
};

class BrennStl {
 public:
  // Meshes every shape and writes the STL file at path. Mode 1 writes ASCII
  // with one solid per shape that has faces, so each comes back as its own
  // mesh; any other mode writes binary STL (one mesh for all). The file
  // appears whole or not at all.
  static int Write(const CString& path, const Handle_TopTools_HSequenceOfShape& shapes, int mode);
  static CString GetError();
};
