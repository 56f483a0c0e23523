// Resource ids of the module.
#define IDS_PROJNAME 100
