// Run-time classes of the table records.
#include "on_dimstyle.h"
#include "on_font.h"
#include "on_layer.h"
#include "on_object_attributes.h"

ON_OBJECT_IMPLEMENT(ON_Layer, ON_Object)
ON_OBJECT_IMPLEMENT(ON_DimStyle, ON_Object)
ON_OBJECT_IMPLEMENT(ON_Font, ON_Object)
ON_OBJECT_IMPLEMENT(ON_3dmObjectAttributes, ON_Object)
