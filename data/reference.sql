-- The rows the import relies on, added where missing and never changed: the six taxes, the books it writes, the
-- document models, the operation types and the CFOP to operation-type table. fiscal-import runs it on every database
-- it writes to, for SQLite and PostgreSQL alike.

WITH V (CD, SG, NM, ID) AS (VALUES
  ('01', 'ICMS', 'ICMS próprio', 'E'),
  ('02', 'ICMSST', 'ICMS substituição tributária', 'E'),
  ('03', 'IPI', 'Imposto sobre Produtos Industrializados', 'F'),
  ('04', 'PIS', 'PIS/Pasep', 'F'),
  ('05', 'COFINS', 'COFINS', 'F'),
  ('06', 'ISS', 'ISSQN', 'M'))
INSERT INTO IMPOSTONFE (CDIMPOSTONFE, SGIMPOSTONFE, NMIMPOSTONFE, IDORGARRECADNFE)
SELECT CD, SG, NM, ID FROM V
 WHERE NOT EXISTS (SELECT 1 FROM IMPOSTONFE I WHERE I.CDIMPOSTONFE = V.CD OR I.SGIMPOSTONFE = V.SG);

-- The entry and exit registers (EFD ICMS/IPI, C190) and the PIS/COFINS book (EFD-Contribuições, C170).
WITH V (CD, NM, IMPOSTO) AS (VALUES
  ('0000000001', 'Registro de Entradas', '01'),
  ('0000000002', 'Registro de Saídas', '01'),
  ('0000000010', 'Apuração PIS/COFINS', '04'))
INSERT INTO LIVROMAG (CDLIVROMAG, NMLIVROMAG, CDIMPOSTO)
SELECT CD, NM, IMPOSTO FROM V WHERE NOT EXISTS (SELECT 1 FROM LIVROMAG L WHERE L.CDLIVROMAG = V.CD);

WITH V (CD, DS) AS (VALUES
  ('01', 'Nota Fiscal modelo 1/1-A'),
  ('1B', 'Nota Fiscal Avulsa'),
  ('04', 'Nota Fiscal de Produtor'),
  ('55', 'Nota Fiscal Eletrônica (NF-e)'),
  ('65', 'NF de Consumidor Eletrônica (NFC-e)'))
INSERT INTO MODDOCFISC (CDMODDOCFISC, DSMODDOCFISC)
SELECT CD, DS FROM V WHERE NOT EXISTS (SELECT 1 FROM MODDOCFISC M WHERE M.CDMODDOCFISC = V.CD);

WITH V (ID, CD, NM) AS (VALUES
  ('E', 'CO', 'Compra'),
  ('E', 'DV', 'Devolução de venda'),
  ('E', 'TR', 'Transferência recebida'),
  ('E', 'BN', 'Bonificação recebida'),
  ('E', 'RM', 'Remessa ou retorno recebido'),
  ('E', 'OU', 'Outra entrada'),
  ('S', 'VD', 'Venda'),
  ('S', 'DC', 'Devolução de compra'),
  ('S', 'RM', 'Remessa'),
  ('S', 'BN', 'Bonificação'),
  ('S', 'TR', 'Transferência enviada'),
  ('S', 'OU', 'Outra saída'))
INSERT INTO TIPOOPERAC (IDENTRSAIDOP, CDTIPOOPER, NMTIPOOPER)
SELECT ID, CD, NM FROM V
 WHERE NOT EXISTS (SELECT 1 FROM TIPOOPERAC T WHERE T.IDENTRSAIDOP = V.ID AND T.CDTIPOOPER = V.CD);

-- The CFOP's last three digits say what the operation is; its first digit whether it enters (1, 2, 3) or leaves
-- (5, 6, 7). Each range of the last three digits gives the type of an entry and the type of an exit: 1.102 is a
-- purchase (CO), 5.102 a sale (VD), 1.202 the return of a sale (DV), 5.202 the return of a purchase (DC). A CFOP
-- outside every range is "outra" (OU) of its direction.
WITH RECURSIVE N (X) AS (SELECT 101 UNION ALL SELECT X + 1 FROM N WHERE X < 999),
FAIXA (INICIO, FIM, ENTRADA, SAIDA) AS (VALUES
  (101, 132, 'CO', 'VD'),
  (151, 159, 'TR', 'TR'),
  (201, 212, 'DV', 'DC'),
  (251, 258, 'CO', 'VD'),
  (301, 307, 'CO', 'VD'),
  (351, 360, 'CO', 'VD'),
  (401, 407, 'CO', 'VD'),
  (408, 409, 'TR', 'TR'),
  (410, 415, 'DV', 'DC'),
  (501, 505, 'RM', 'RM'),
  (551, 551, 'CO', 'VD'),
  (552, 552, 'TR', 'TR'),
  (553, 553, 'DV', 'DC'),
  (554, 555, 'RM', 'RM'),
  (556, 556, 'CO', 'DC'),
  (557, 557, 'TR', 'TR'),
  (601, 606, 'OU', 'OU'),
  (651, 656, 'CO', 'VD'),
  (657, 657, 'RM', 'RM'),
  (658, 659, 'TR', 'TR'),
  (660, 662, 'DV', 'DC'),
  (663, 667, 'RM', 'RM'),
  (901, 909, 'RM', 'RM'),
  (910, 911, 'BN', 'BN'),
  (912, 932, 'RM', 'RM'),
  (933, 933, 'CO', 'VD'),
  (934, 948, 'RM', 'RM'),
  (949, 949, 'OU', 'OU')),
DIGITO (D, IDENTRSAIDOP) AS (VALUES (1, 'E'), (2, 'E'), (3, 'E'), (5, 'S'), (6, 'S'), (7, 'S')),
CFOP (CDFISCOPER, IDENTRSAIDOP, CDTIPOOPER) AS (
  SELECT CAST(D.D * 1000 + N.X AS VARCHAR(4)), D.IDENTRSAIDOP,
         CASE WHEN D.IDENTRSAIDOP = 'E' THEN F.ENTRADA ELSE F.SAIDA END
    FROM DIGITO D CROSS JOIN FAIXA F JOIN N ON N.X BETWEEN F.INICIO AND F.FIM)
INSERT INTO CFOPTIPOOPER (CDFISCOPER, IDENTRSAIDOP, CDTIPOOPER)
SELECT CDFISCOPER, IDENTRSAIDOP, CDTIPOOPER FROM CFOP C
 WHERE NOT EXISTS (SELECT 1 FROM CFOPTIPOOPER T WHERE T.CDFISCOPER = C.CDFISCOPER);
