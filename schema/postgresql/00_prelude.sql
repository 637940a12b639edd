-- The server database is made from the same table definitions as the embedded
-- one (../sqlite): dv_makedb --postgres translates them mechanically (the rules
-- are in src/core/db/PgDialect.h) and copies the seed rows and clinic content
-- from a freshly built embedded database. Only what cannot be translated lives
-- here: this prelude (run first) and the triggers (run after the rows).

-- Text compares without regard to case, as the embedded engine's NOCASE does.
CREATE COLLATION IF NOT EXISTS dv_nocase (provider = icu, locale = 'und-u-ks-level2', deterministic = false);

-- The date parts the screens' SQL uses (the embedded engine defines the same).
CREATE OR REPLACE FUNCTION month(timestamp) RETURNS integer LANGUAGE sql IMMUTABLE
  AS $$ SELECT extract(month FROM $1)::integer $$;
CREATE OR REPLACE FUNCTION year(timestamp) RETURNS integer LANGUAGE sql IMMUTABLE
  AS $$ SELECT extract(year FROM $1)::integer $$;
CREATE OR REPLACE FUNCTION day(timestamp) RETURNS integer LANGUAGE sql IMMUTABLE
  AS $$ SELECT extract(day FROM $1)::integer $$;
