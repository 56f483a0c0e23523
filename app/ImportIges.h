#pragma once
// The import command.
int ImportIges();
