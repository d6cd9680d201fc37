// Relations between work areas: a child area follows the current record of a parent area. A key
// expression evaluated in the parent's record finds the child's record, by a seek in the child's
// controlling index or, without an index, as a record number. Whenever the parent moves, its
// relations reposition their children, depth first through the children's own relations (newest
// relation first). Further exports write, lock and unlock the children's records with the
// parent's, and db_debuginfo (3) shows the relation tree.
//
// The relations of all areas form a graph without cycles: a relation whose child already reaches
// its parent is refused (error 56), as is one that would make a single walk reposition more than
// kMaxRelationWalk children (error 57), so that no walk recurses without end or runs for ever.
//
// Life of a relation: db_add_relation .. db_delete_relations of its parent, the closing of its
// parent, or the deletion of the relations of an area above it. A child area closed meanwhile
// stays named by its number: the next walk stops with error 55.
#pragma once

#include "Area.h"

// Children one walk may reposition (a tree of 250 areas needs 249).
const unsigned kMaxRelationWalk = 10000;
// The dump's form of a key expression: at most 58 characters.
const int DB_RELATION_TEXT = 59;

struct s_Relation {
    s_Job* job = nullptr;
    s_Area* parent = nullptr;
    int child = 0;                  // area number 1..250
    s_Expression* key = nullptr;    // owned
    char text[DB_RELATION_TEXT] = {};
    s_Relation* next = nullptr;     // the next (older) relation of the same parent
};

// Repositions the children of the area's relations; the area is current again afterwards. FALSE
// when a child area is no longer open (error 55).
bool _rel_update(s_Area& area);
// Frees the area's relations and, through each open child, the relations below them.
void _rel_free(s_Area& area);
