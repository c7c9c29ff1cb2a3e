// The records of the language's simple property types, and the table of them
// handed to the thread-spawning code.
#pragma once
#include "runtime/objects/PropertyTypeDescriptor.h"

extern SimplePropertyType stringType;
extern SimplePropertyType integerType;
extern SimplePropertyType booleanType;
extern SimplePropertyType singleType;
extern SimplePropertyType doubleType;
extern SimplePropertyType colourType;
extern SimplePropertyType formType;
extern SimplePropertyType externalPtrType;
extern SimplePropertyType externalWindowPtrType;
extern SimplePropertyType externalOSTypeType;
extern SimplePropertyType externalCStringType;
extern SimplePropertyType externalPStringType;
extern SimplePropertyType externalShortType;

// Stores the records of String, Integer, Boolean, Single, Double, Color, Ptr,
// WindowPtr, OSType, CString, PString and Short into the 12 slots; answers table.
extern "C" SimplePropertyType **FillSpawnTypeTable(SimplePropertyType **table);
